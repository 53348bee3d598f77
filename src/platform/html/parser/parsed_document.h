#pragma once

#include <memory>
#include <string>

#include "platform/html/parser/node_tree.h"
#include "platform/html/parser/quirks_mode.h"
#include "platform/html/parser/text_store.h"

namespace veltrano::html::parser {

// A whole document, parsed: its text and the tree that refers to it.
struct ParsedDocument {
    TextStore text;
    NodeTree tree{text};
    DocumentMode mode = DocumentMode::NoQuirks;
};

// Parses a whole decoded document (UTF-8, at most TextStore::kMaximumInputBytes bytes, else
// std::length_error): newlines are normalized (CR LF and CR become LF), then the tokenizer and
// the tree builder run over all of it. For tests and tools; the program streams.
std::unique_ptr<ParsedDocument> parseHtml(std::string decoded);

}  // namespace veltrano::html::parser
