#pragma once

#include <string>

#include "platform/html/parser/node_tree.h"

namespace veltrano::html::parser {

// The tree in the html5lib tree-construction tests' format: one "| " line per node, two spaces
// of indent per level, attributes sorted on lines of their own below their element, template
// contents below a "content" line. Every line ends with a newline.
std::string dumpTree(const NodeTree& tree);

}  // namespace veltrano::html::parser
