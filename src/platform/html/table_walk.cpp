#include "platform/html/table_walk.h"

#include "platform/html/html_document.h"
#include "platform/html/table_collector.h"
#include "platform/html/tree_walk.h"

namespace veltrano::html {

void walkTables(const HtmlDocument& document, TableVisitor& visitor) {
    const NodeTree& tree = document.tree();
    TableCollector collector(tree, visitor);
    walkBelow(
        tree, tree.document(),
        [&](NodeId node) {
            if (!isElement(tree[node])) {
                return false;
            }
            collector.elementStarted(node);
            return true;
        },
        [&](NodeId node) { collector.elementClosed(node); });
}

}  // namespace veltrano::html
