// The adoption agency algorithm, which closes misnested formatting elements.

#include <vector>

#include "platform/html/parser/element_kinds.h"
#include "platform/html/parser/tree_builder.h"
#include "platform/html/parser/tree_observer.h"

namespace veltrano::html::parser {
namespace {

constexpr int kOuterLoopLimit = 8;
constexpr int kInnerLoopKeepsFormatting = 3;

}  // namespace

// Returns false where the HTML Standard says to act as "any other end tag" instead.
//
// The inner loop works on the entries above the formatting element taken off the stack, and
// the stack gets back what stays in one go: the elements the loop drops cost nothing more
// each. The observer hears of every change once the stack is whole again.
bool TreeBuilder::adoptionAgency(const Token& token) {
    const NameId subject = token.name;
    {
        const OpenElement& current = mOpenElements.current();
        if (current.ns == Namespace::Html && current.name == subject &&
            !mActiveFormatting.contains(current.node)) {
            popCurrentNode();
            return true;
        }
    }
    for (int outer = 0; outer < kOuterLoopLimit; ++outer) {
        const std::ptrdiff_t formattingIndex = mActiveFormatting.lastAfterMarker(subject);
        if (formattingIndex == ActiveFormattingList::kNone) {
            return false;
        }
        const NodeId formattingElement =
            mActiveFormatting[static_cast<std::size_t>(formattingIndex)].node;
        const std::ptrdiff_t formattingPosition = mOpenElements.positionOf(formattingElement);
        if (formattingPosition == OpenElementStack::kNone) {
            mActiveFormatting.remove(static_cast<std::size_t>(formattingIndex));
            return true;
        }
        if (!mOpenElements.hasNodeInScope(formattingElement, Boundary::Scope)) {
            return true;
        }
        // The furthest block: the first special element above the formatting element. The
        // elements passed on the way are those the inner loop will visit.
        auto furthestPosition = static_cast<std::size_t>(formattingPosition) + 1;
        while (furthestPosition < mOpenElements.size() &&
               (mOpenElements[furthestPosition].boundaries & boundaryBit(Boundary::Special)) == 0) {
            ++furthestPosition;
        }
        if (furthestPosition == mOpenElements.size()) {
            popUntilNode(formattingElement);
            if (const std::ptrdiff_t index = mActiveFormatting.indexOf(formattingElement);
                index != ActiveFormattingList::kNone) {
                mActiveFormatting.remove(static_cast<std::size_t>(index));
            }
            return true;
        }
        const NodeId furthestBlock = mOpenElements[furthestPosition].node;
        const NodeId commonAncestor =
            mOpenElements[static_cast<std::size_t>(formattingPosition) - 1].node;
        // The bookmark is the index before which the formatting element's copy goes.
        auto bookmark = static_cast<std::size_t>(formattingIndex);

        // entries[0] is the formatting element, entries[furthest] the furthest block.
        std::vector<OpenElement> entries =
            mOpenElements.takeFrom(static_cast<std::size_t>(formattingPosition));
        const std::size_t furthest =
            furthestPosition - static_cast<std::size_t>(formattingPosition);
        std::vector<NodeId> popped;
        std::vector<NodeId> created;
        NodeId lastNode = furthestBlock;
        int inner = 0;
        for (std::size_t i = furthest - 1; i > 0; --i) {
            ++inner;
            OpenElement& entry = entries[i];
            std::ptrdiff_t nodeIndex = mActiveFormatting.indexOf(entry.node);
            if (inner > kInnerLoopKeepsFormatting && nodeIndex != ActiveFormattingList::kNone) {
                mActiveFormatting.remove(static_cast<std::size_t>(nodeIndex));
                if (static_cast<std::size_t>(nodeIndex) < bookmark) {
                    --bookmark;
                }
                nodeIndex = ActiveFormattingList::kNone;
            }
            popped.push_back(entry.node);
            if (nodeIndex == ActiveFormattingList::kNone) {
                entry.node = kNoNode;  // removed from the stack
                continue;
            }
            const FormattingEntry& formatting =
                mActiveFormatting[static_cast<std::size_t>(nodeIndex)];
            const NodeId element =
                mTree.createElement(formatting.name, Namespace::Html, formatting.attributes);
            mActiveFormatting.replaceNode(static_cast<std::size_t>(nodeIndex), element);
            entry.node = element;
            if (lastNode == furthestBlock) {
                bookmark = static_cast<std::size_t>(nodeIndex) + 1;
            }
            mTree.detach(lastNode);
            mTree.appendChild(element, lastNode);
            lastNode = element;
            created.push_back(element);
        }

        // The stack is whole again before the tree is touched further, with the formatting
        // element's copy just above the furthest block. Its entry is the formatting element's
        // with the node changed: the name and boundaries are the same.
        const std::ptrdiff_t formattingNow = mActiveFormatting.indexOf(formattingElement);
        FormattingEntry copy = mActiveFormatting[static_cast<std::size_t>(formattingNow)];
        const NodeId newElement = mTree.createElement(copy.name, Namespace::Html, copy.attributes);
        OpenElement newEntry = entries[0];
        newEntry.node = newElement;
        for (std::size_t i = 1; i < entries.size(); ++i) {
            if (entries[i].node != kNoNode) {
                mOpenElements.push(entries[i]);
            }
            if (i == furthest) {
                mOpenElements.push(newEntry);
            }
        }

        InsertionLocation location = appropriatePlaceForInsertingNode(commonAncestor);
        if (location.before == lastNode) {
            location.before = mTree[lastNode].nextSibling;
        }
        mTree.detach(lastNode);
        mTree.insertBefore(location.parent, lastNode, location.before);

        mTree.moveChildren(furthestBlock, newElement);
        mTree.appendChild(furthestBlock, newElement);

        mActiveFormatting.remove(static_cast<std::size_t>(formattingNow));
        if (static_cast<std::size_t>(formattingNow) < bookmark) {
            --bookmark;
        }
        copy.node = newElement;
        mActiveFormatting.insert(bookmark, std::move(copy));

        // In the order the HTML Standard makes the changes; the copies made in the inner loop
        // are reported outermost first, so that each one's parent is reported before it.
        for (const NodeId node : popped) {
            notePopped(node);
        }
        for (auto it = created.rbegin(); it != created.rend(); ++it) {
            notifyInserted(*it);
        }
        notifyInserted(newElement);
        notePopped(formattingElement);
    }
    return true;
}

}  // namespace veltrano::html::parser
