#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/html/parser/node_tree.h"
#include "platform/html/parser/text_store.h"

namespace veltrano::html::css::testing {

// A tree built by hand for selector and cascade tests, from markup where every element is
// closed explicitly: `<div id=a class="x y">text<svg:rect/></div>`. "svg:" and "math:" put an
// element in those namespaces; "xml:" and "xlink:" put an attribute in those. The elements
// hang from the document node; no implied elements are added.
class TestTree final {
public:
    explicit TestTree(std::string_view markup);

    parser::NodeTree& tree() { return *mTree; }
    const parser::NodeTree& tree() const { return *mTree; }
    // The element with that id attribute; fails the test when there is none.
    parser::NodeId byId(std::string_view id) const;
    // The ids of every element with an id, in document order.
    std::vector<std::string> ids() const;

private:
    parser::TextStore mText;
    std::unique_ptr<parser::NodeTree> mTree;
    std::vector<std::pair<std::string, parser::NodeId>> mIds;
};

}  // namespace veltrano::html::css::testing
