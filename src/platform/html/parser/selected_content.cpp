// selectedcontent: when the selected option of a select that holds a selectedcontent element
// is popped, the HTML Standard ("maybe clone an option into selectedcontent") replaces the
// selectedcontent's children with copies of the option's.
//
// Only selects that hold a selectedcontent are followed, so other documents pay nothing. The
// selected option is the last one with a selected attribute, or else the first one (the
// selectedness of a select that is not multiple and shows one option).

#include <vector>

#include "platform/html/parser/element_kinds.h"
#include "platform/html/parser/tree_builder.h"
#include "platform/html/parser/tree_observer.h"

namespace veltrano::html::parser {
namespace {

bool isHtmlElement(const Node& node, KnownName name) {
    return node.kind == NodeKind::Element && node.ns == Namespace::Html &&
           node.name == nameId(name);
}

}  // namespace

NodeId TreeBuilder::nearestAncestorSelect(NodeId node) const {
    for (NodeId ancestor = mTree[node].parent; ancestor != kNoNode;
         ancestor = mTree[ancestor].parent) {
        if (isHtmlElement(mTree[ancestor], KnownName::Select)) {
            return ancestor;
        }
    }
    return kNoNode;
}

void TreeBuilder::noteSelectContentInserted(NodeId element) {
    const NodeId select = nearestAncestorSelect(element);
    if (select == kNoNode || mSelects.contains(select)) {
        return;
    }
    // The options already in the select decide which is selected: one walk, once per select.
    SelectState state;
    state.selectedContent = element;
    NodeId node = mTree[select].firstChild;
    while (node != kNoNode) {
        const Node& current = mTree[node];
        if (isHtmlElement(current, KnownName::Option) &&
            (state.selectedOption == kNoNode ||
             mTree.attribute(node, nameId(KnownName::Selected)))) {
            state.selectedOption = node;
        }
        if (current.firstChild != kNoNode) {
            node = current.firstChild;
            continue;
        }
        while (node != select && mTree[node].nextSibling == kNoNode) {
            node = mTree[node].parent;
        }
        node = node == select ? kNoNode : mTree[node].nextSibling;
    }
    mSelects.emplace(select, state);
    mSelectOf[element] = select;
    if (state.selectedOption != kNoNode) {
        mSelectOf[state.selectedOption] = select;
    }
}

void TreeBuilder::noteOptionInserted(NodeId option) {
    const NodeId select = nearestAncestorSelect(option);
    const auto it = mSelects.find(select);
    if (it == mSelects.end()) {
        return;
    }
    SelectState& state = it->second;
    if (state.selectedOption == kNoNode || mTree.attribute(option, nameId(KnownName::Selected))) {
        if (state.selectedOption != kNoNode) {
            mSelectOf.erase(state.selectedOption);
        }
        state.selectedOption = option;
        mSelectOf[option] = select;
    }
}

void TreeBuilder::maybeCloneOptionIntoSelectedContent(NodeId option) {
    const auto of = mSelectOf.find(option);
    if (of == mSelectOf.end()) {
        return;
    }
    const SelectState& state = mSelects.at(of->second);
    if (state.selectedOption == option && state.selectedContent != kNoNode) {
        replaceChildrenWithCopies(option, state.selectedContent);
    }
}

// Whether element lies inside a selected option still open: when it is popped, its
// selectedcontent gets copies of its whole subtree, so nothing inside may be let go before.
bool TreeBuilder::insideOptionToBeCopied(NodeId element) const {
    if (mSelects.empty()) {
        return false;
    }
    for (NodeId node = mTree[element].parent; node != kNoNode; node = mTree[node].parent) {
        const auto of = mSelectOf.find(node);
        if (of != mSelectOf.end() && mSelects.at(of->second).selectedOption == node &&
            mOpenElements.contains(node)) {
            return true;
        }
    }
    return false;
}

// Drops what is known of a node about to be let go, so that its number, once reused, matches
// nothing here.
void TreeBuilder::forgetSelectedContentNode(NodeId node) {
    if (const auto select = mSelects.find(node); select != mSelects.end()) {
        mSelectOf.erase(select->second.selectedOption);
        mSelectOf.erase(select->second.selectedContent);
        mSelects.erase(select);
        return;
    }
    const auto of = mSelectOf.find(node);
    if (of == mSelectOf.end()) {
        return;
    }
    SelectState& state = mSelects.at(of->second);
    if (state.selectedOption == node) {
        state.selectedOption = kNoNode;
    }
    if (state.selectedContent == node) {
        state.selectedContent = kNoNode;
    }
    mSelectOf.erase(of);
}

// Copies all of from's children (deep) and puts the copies in place of to's children. The
// copies are made before to is emptied, as to may lie inside from.
void TreeBuilder::replaceChildrenWithCopies(NodeId from, NodeId to) {
    struct Pending {
        NodeId source;
        NodeId copyParent;  // kNoNode: a top-level copy
    };
    std::vector<NodeId> topLevel;
    std::vector<Pending> work;
    for (NodeId child = mTree[from].lastChild; child != kNoNode;
         child = mTree[child].previousSibling) {
        work.push_back({child, kNoNode});
    }
    while (!work.empty()) {
        const Pending pending = work.back();
        work.pop_back();
        const Node& source = mTree[pending.source];
        NodeId copy = kNoNode;
        switch (source.kind) {
            case NodeKind::Element:
                copy = mTree.createElement(
                    source.name, source.ns,
                    std::vector<Attribute>(mTree.attributes(pending.source).begin(),
                                           mTree.attributes(pending.source).end()));
                for (NodeId child = mTree[pending.source].lastChild; child != kNoNode;
                     child = mTree[child].previousSibling) {
                    work.push_back({child, copy});
                }
                break;
            case NodeKind::Text:
                copy = mTree.createText(mText.make(mTree.textOf(pending.source)));
                break;
            case NodeKind::Comment:
                copy = mTree.createComment(mText.make(mTree.textOf(pending.source)));
                break;
            default:
                continue;
        }
        if (pending.copyParent == kNoNode) {
            topLevel.push_back(copy);
        } else {
            mTree.appendChild(pending.copyParent, copy);
        }
    }
    while (mTree[to].firstChild != kNoNode) {
        mTree.detach(mTree[to].firstChild);
    }
    for (const NodeId copy : topLevel) {
        mTree.appendChild(to, copy);
    }
    if (mObserver == nullptr) {
        return;
    }
    for (const NodeId copy : topLevel) {
        reportCopiedSubtree(copy);
    }
}

// Each element of the subtree is reported inserted before the elements inside it and popped
// after them, as a parse of the same markup would: the observer sees sibling tables as
// siblings, not as one nested in the other. Popping may release an element's children, never
// the element itself, so its links stay good for the walk.
void TreeBuilder::reportCopiedSubtree(NodeId root) {
    NodeId node = root;
    while (true) {
        if (mTree[node].kind == NodeKind::Element) {
            mObserver->elementInserted(node);
        }
        if (mTree[node].kind == NodeKind::Element && mTree[node].firstChild != kNoNode) {
            node = mTree[node].firstChild;
            continue;
        }
        while (true) {
            if (mTree[node].kind == NodeKind::Element) {
                mObserver->elementPopped(node);
            }
            if (node == root) {
                return;
            }
            if (mTree[node].nextSibling != kNoNode) {
                node = mTree[node].nextSibling;
                break;
            }
            node = mTree[node].parent;
        }
    }
}

}  // namespace veltrano::html::parser
