#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/html/parser/node_tree.h"

namespace veltrano::html {

class ElementList;

// A handle to an element of a parsed document's tree; valid while the document lives. Copying
// it copies the handle, not the element.
class Element final {
public:
    Element(const parser::NodeTree& tree, parser::NodeId node) : mTree(&tree), mNode(node) {}

    // The DOM's element.getElementsByTagName(name): every element below this one whose
    // qualified name is name (ASCII case-insensitively for HTML elements), in document order,
    // template contents excluded.
    ElementList getElementsByTagName(std::string_view name) const;
    // The DOM's textContent: the text of every text node below, as the parser left it.
    std::string textContent() const;

    const parser::NodeTree& tree() const { return *mTree; }
    parser::NodeId node() const { return mNode; }
    friend bool operator==(const Element&, const Element&) = default;

private:
    const parser::NodeTree* mTree;
    parser::NodeId mNode;
};

// The result of getElementsByTagName, fixed when it is made (the tree never changes).
class ElementList final {
public:
    explicit ElementList(std::vector<Element> items) : mItems(std::move(items)) {}

    std::size_t length() const { return mItems.size(); }
    // Throws std::out_of_range from index length() on.
    Element item(std::size_t index) const { return mItems.at(index); }

private:
    std::vector<Element> mItems;
};

// Every element with that qualified name below root (document or element), document order.
ElementList elementsByTagName(const parser::NodeTree& tree, parser::NodeId root,
                              std::string_view name);

}  // namespace veltrano::html
