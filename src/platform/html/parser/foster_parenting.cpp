// "The appropriate place for inserting a node" and foster parenting, which moves content that
// a table cannot hold to just before the table.

#include "platform/html/parser/element_kinds.h"
#include "platform/html/parser/tree_builder.h"

namespace veltrano::html::parser {

TreeBuilder::InsertionLocation TreeBuilder::appropriatePlaceForInsertingNode(
    NodeId overrideTarget) {
    NodeId target = overrideTarget;
    std::uint32_t targetKinds = 0;
    if (target == kNoNode) {
        // The current node, whose kinds the stack keeps.
        target = mOpenElements.current().node;
        targetKinds = mOpenElements.current().kinds;
    } else {
        targetKinds = elementKinds(mTree[target].name, mTree[target].ns);
    }
    InsertionLocation location{target, kNoNode, false};
    if (mFosterParenting && (targetKinds & kFosterParentingTarget) != 0) {
        location = fosterParentingLocation();
    }
    const Node& parent = mTree[location.parent];
    if (parent.kind == NodeKind::Element && parent.ns == Namespace::Html &&
        parent.name == nameId(KnownName::Template)) {
        location.parent = mTree.templateContents(location.parent);
        location.before = kNoNode;
    }
    return location;
}

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
