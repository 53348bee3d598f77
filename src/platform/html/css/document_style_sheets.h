#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "platform/html/css/rule_set.h"
#include "platform/html/parser/node_tree.h"

namespace veltrano::html::css {

// The sheet a link's href names, or nothing when there is none to read.
using LinkedStyleSheetLoader = std::function<std::optional<StyleSheetSource>(std::string_view)>;

// Adds the style sheets of a document to rules, in tree order: each style element (HTML or SVG)
// whose type is text/css or absent, and each link whose rel has "stylesheet" (not "alternate"),
// that is not disabled, whose media query list holds for the screen, and whose title, if it has
// one, is that of the first titled sheet (the preferred set). Nothing inside a template counts.
// A style element's sheet is located at documentLocation (where its @imports start); in a
// document whose base URL has a scheme it is located nowhere, and no sheet is linked, since
// every URL leads away from the files. Does not call finish().
void addDocumentStyleSheets(const parser::NodeTree& tree, std::string_view documentLocation,
                            RuleSet& rules, const LinkedStyleSheetLoader& loadLinked,
                            const ImportResolver& resolveImport);

}  // namespace veltrano::html::css
