// Foster parenting, which moves content that a table cannot hold to just before the table (the
// rest of "the appropriate place for inserting a node" is inline in tree_builder.h).

#include "platform/html/parser/element_kinds.h"
#include "platform/html/parser/tree_builder.h"

namespace veltrano::html::parser {

// Before the last table, in its parent; or, when a template was opened after that table, at
// the end of the template's contents.
TreeBuilder::InsertionLocation TreeBuilder::fosterParentingLocation() {
    const std::ptrdiff_t lastTemplate = mOpenElements.topmostHtml(nameId(KnownName::Template));
    const std::ptrdiff_t lastTable = mOpenElements.topmostHtml(nameId(KnownName::Table));
    if (lastTemplate != OpenElementStack::kNone &&
        (lastTable == OpenElementStack::kNone || lastTemplate > lastTable)) {
        const NodeId templateElement = mOpenElements[static_cast<std::size_t>(lastTemplate)].node;
        return {mTree.templateContents(templateElement), kNoNode, true};
    }
    if (lastTable == OpenElementStack::kNone) {
        return {mOpenElements[0].node, kNoNode, true};
    }
    const NodeId table = mOpenElements[static_cast<std::size_t>(lastTable)].node;
    if (const NodeId parent = mTree[table].parent; parent != kNoNode) {
        return {parent, table, true};
    }
    return {mOpenElements[static_cast<std::size_t>(lastTable) - 1].node, kNoNode, true};
}

}  // namespace veltrano::html::parser
