#pragma once

#include <cstdint>

#include "platform/html/parser/node_tree.h"

namespace veltrano::html::parser {

// The document's mode, which its doctype decides (the HTML Standard's "quirks mode" and
// "limited-quirks mode").
enum class DocumentMode : std::uint8_t { NoQuirks, LimitedQuirks, Quirks };

// The mode a doctype token sets in the "initial" insertion mode.
DocumentMode documentModeFor(const Doctype& doctype, bool forceQuirks);

}  // namespace veltrano::html::parser
