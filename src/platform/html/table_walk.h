#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace veltrano::html {

class HtmlDocument;

// Receives the tables of a document in the order of their numbers. Each table's rows are all
// tr below it, nested tables' rows included, in document order; each row's cells are all td
// below it (th never counts), each given as its rendered text. A table without rows is
// announced too (it is not listed but keeps its number).
class TableVisitor {
public:
    virtual ~TableVisitor() = default;
    virtual void beginTable(std::int32_t tableNumber) = 0;
    virtual void beginRow(std::int32_t cellCount) = 0;
    // The cell's text; valid during the call.
    virtual void cell(std::string_view text) = 0;
    // A cell whose text could not be made, with the reason.
    virtual void unreadableCell(std::string_view reason) = 0;
    virtual void endTable() = 0;
};

// Walks a whole parsed document once, template contents excluded. The cost is linear in the
// document plus what the visitor is given: a nested table's rows and cells are given again to
// every table that encloses it.
void walkTables(const HtmlDocument& document, TableVisitor& visitor);

}  // namespace veltrano::html
