#pragma once

#include <cstdint>

#include "platform/html/rendered_text.h"

namespace veltrano::html {

class HtmlDocument;

// A td as the walk found it; RenderedText::text(cell) gives its text. Valid while the
// document lives.
using CellRef = PlacedElement;

// Receives the tables of a document in the order of their numbers. Each table's rows are all
// tr below it, nested tables' rows included, in document order; each row's cells are all td
// below it (th never counts). A table without rows is announced too (it is not listed but
// keeps its number).
class TableVisitor {
public:
    virtual ~TableVisitor() = default;
    virtual void beginTable(std::int32_t tableNumber) = 0;
    virtual void beginRow(std::int32_t cellCount) = 0;
    virtual void cell(const CellRef& cell) = 0;
    virtual void endTable() = 0;
};

// Walks the whole document once, template contents excluded. The cost is linear in the
// document plus what the visitor is given: a nested table's rows and cells are given again to
// every table that encloses it.
void walkTables(const HtmlDocument& document, TableVisitor& visitor);

}  // namespace veltrano::html
