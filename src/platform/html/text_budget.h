#pragma once

#include <cstddef>
#include <cstdint>

namespace veltrano::html {

// How much the tables of one document may make before reading them is given up.
//
// A cell's text holds the text of the tables nested in it, and a nested table's rows and
// cells are handed over again to every table around it: a chain of tables nested a few
// hundred deep in a few kilobytes would make text that grows with the fourth power of the
// depth. The limits follow the document's size, so that ordinary pages, a layout table or two
// around their data tables included, never meet them:
//  - the cells' rendered texts, added up: 64 times the document's text plus 16 MiB;
//  - what is handed over, each cell's text plus 8 bytes for its place in the store: 16 times
//    the document's text plus 16 MiB;
// neither ever more than 4 GiB, whatever the document's size.
class TextBudget final {
public:
    explicit TextBudget(std::uint64_t documentBytes);

    // Each throws Failure, saying that the tables are too large to show, once its total has
    // passed its limit.
    void chargeRendered(std::size_t textBytes);
    void chargeHandedOver(std::size_t textBytes);

    std::uint64_t renderedLimit() const { return mRenderedLimit; }
    std::uint64_t handedOverLimit() const { return mHandedOverLimit; }

private:
    std::uint64_t mRenderedLimit;
    std::uint64_t mHandedOverLimit;
    std::uint64_t mRendered = 0;
    std::uint64_t mHandedOver = 0;
};

}  // namespace veltrano::html
