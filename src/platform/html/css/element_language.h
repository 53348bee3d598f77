#pragma once

#include <optional>
#include <string_view>

#include "platform/html/parser/node_tree.h"

namespace veltrano::html::css {

// The language an element itself declares: its xml:lang (in the XML namespace), else on an
// HTML element its lang; nothing when it declares none.
std::optional<std::string_view> declaredLanguage(const parser::NodeTree& tree,
                                                 parser::NodeId element);

// The language of an element as the HTML Standard determines it: the xml:lang (in the XML
// namespace) or, on HTML elements, the lang attribute of the element or its nearest ancestor
// that has one. Empty when none says (or one says "": unknown).
std::string_view elementLanguage(const parser::NodeTree& tree, parser::NodeId element);

// Whether a language tag matches a language range by extended filtering (RFC 4647), ASCII
// case-insensitively, as :lang() does; range must be lower case.
bool languageMatches(std::string_view tag, std::string_view range);

}  // namespace veltrano::html::css
