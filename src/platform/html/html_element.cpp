#include "platform/html/html_element.h"

#include <algorithm>

#include "platform/html/ascii_case.h"
#include "platform/html/tree_walk.h"

namespace veltrano::html {

ElementList elementsByTagName(const NodeTree& tree, NodeId root, std::string_view name) {
    std::string lowered(name);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), asciiLower);
    std::vector<Element> found;
    walkBelow(
        tree, root,
        [&](NodeId id) {
            const Node& node = tree[id];
            if (isElement(node) &&
                tree.nameText(node.name) == (node.ns == Namespace::Html ? lowered : name)) {
                found.emplace_back(tree, id);
            }
            return true;
        },
        [](NodeId) {});
    return ElementList(std::move(found));
}

ElementList Element::getElementsByTagName(std::string_view name) const {
    return elementsByTagName(*mTree, mNode, name);
}

std::string Element::textContent() const {
    std::string text;
    appendTextContent(*mTree, mNode, text);
    return text;
}

}  // namespace veltrano::html
