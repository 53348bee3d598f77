#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <gumbo.h>

// Read-only helpers over gumbo's tree, shared by the walks of this library (not installed
// with its public headers: callers outside see only Element and the walks).
namespace veltrano::html {

// The children of a node as the document has them: none for text, comments and a template
// (its contents belong to a separate fragment, not to the document).
inline const GumboVector& childrenOf(const GumboNode& node) {
    switch (node.type) {
        case GUMBO_NODE_DOCUMENT:
            return node.v.document.children;
        case GUMBO_NODE_ELEMENT:
            return node.v.element.children;
        default:
            return kGumboEmptyVector;
    }
}

inline const GumboNode& childAt(const GumboVector& children, unsigned index) {
    return *static_cast<const GumboNode*>(children.data[index]);
}

inline bool isElement(const GumboNode& node) {
    return node.type == GUMBO_NODE_ELEMENT || node.type == GUMBO_NODE_TEMPLATE;
}

inline bool isText(const GumboNode& node) {
    return node.type == GUMBO_NODE_TEXT || node.type == GUMBO_NODE_WHITESPACE ||
           node.type == GUMBO_NODE_CDATA;
}

// The local name of an element, lower case for the tags gumbo knows and as written otherwise.
std::string_view elementName(const GumboElement& element);

// The value of the attribute with that (lower-case) name, or null when there is none.
const char* attributeValue(const GumboElement& element, const char* name);

// One open element of a walk: the node and the index of its next child to visit.
struct WalkFrame {
    const GumboNode* node;
    unsigned nextChild;
};

// Visits the nodes below root in document order, root itself excluded. enter(node) is called
// for every node and returns whether to visit an element's children; leave(node) follows the
// children of each element entered with true. The stack is the caller's, so that repeated
// walks reuse its memory; depth costs no call stack.
template <class Enter, class Leave>
void walkBelow(const GumboNode& root, std::vector<WalkFrame>& stack, Enter&& enter, Leave&& leave) {
    stack.clear();
    stack.push_back({&root, 0});
    while (!stack.empty()) {
        WalkFrame& top = stack.back();
        const GumboVector& children = childrenOf(*top.node);
        if (top.nextChild < children.length) {
            const GumboNode& child = childAt(children, top.nextChild++);
            if (enter(child) && isElement(child)) {
                stack.push_back({&child, 0});
            }
            continue;
        }
        const GumboNode* done = top.node;
        stack.pop_back();
        if (!stack.empty()) {
            leave(*done);
        }
    }
}

// Appends the text of every text node below root, in document order: the DOM's textContent.
void appendTextContent(const GumboNode& root, std::string& out, std::vector<WalkFrame>& stack);

}  // namespace veltrano::html
