#pragma once

#include "platform/html/parser/node_tree.h"

// Read-only helpers over the engine's tree, shared by the walks of this library (callers
// outside see only Element, the table walk and rendered text).
namespace veltrano::html {

using parser::KnownName;
using parser::Namespace;
using parser::Node;
using parser::NodeId;
using parser::NodeKind;
using parser::NodeTree;

inline bool isElement(const Node& node) {
    return node.kind == NodeKind::Element;
}

inline bool isText(const Node& node) {
    return node.kind == NodeKind::Text;
}

// An element with this local name, in any namespace.
inline bool isNamed(const Node& node, KnownName name) {
    return node.kind == NodeKind::Element && node.name == parser::nameId(name);
}

inline bool isHtml(const Node& node, KnownName name) {
    return isNamed(node, name) && node.ns == Namespace::Html;
}

// Visits the nodes below root in document order, root itself excluded; template contents are
// not below their template. enter(id) is called for every node and returns whether to visit
// an element's children; leave(id) follows the children of each element entered with true.
// The tree's links lead the way, so depth costs neither call stack nor memory.
template <class Enter, class Leave>
void walkBelow(const NodeTree& tree, NodeId root, Enter&& enter, Leave&& leave) {
    NodeId node = tree[root].firstChild;
    while (node != parser::kNoNode) {
        const Node& current = tree[node];
        if (enter(node) && isElement(current)) {
            if (current.firstChild != parser::kNoNode) {
                node = current.firstChild;
                continue;
            }
            leave(node);
        }
        while (node != root && tree[node].nextSibling == parser::kNoNode) {
            node = tree[node].parent;
            if (node != root) {
                leave(node);
            }
        }
        node = node == root ? parser::kNoNode : tree[node].nextSibling;
    }
}

// Appends the text of every text node below root, in document order: the DOM's textContent.
inline void appendTextContent(const NodeTree& tree, NodeId root, std::string& out) {
    walkBelow(
        tree, root,
        [&](NodeId id) {
            if (isText(tree[id])) {
                tree.forEachTextPiece(id, [&](std::string_view piece) { out.append(piece); });
            }
            return true;
        },
        [](NodeId) {});
}

}  // namespace veltrano::html
