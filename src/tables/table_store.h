#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "tables/cell_map.h"
#include "tables/ordered_list.h"
#include "tables/row_list.h"

namespace veltrano {

using RowLists = OrderedList<RowList>;
using ColumnCounts = OrderedList<std::int32_t>;

// Both files' tables as "Next >" leaves them: for each listed table its row list and its
// column count (the number of cells of its last row), and one cell map per file. Members
// ending in 1 belong to file #1. Each member is a shared reference to its container, so a
// preview grid can keep showing the cells it was filled from after the store is replaced.
struct TableStore {
    std::shared_ptr<RowLists> mColRows1;
    std::shared_ptr<RowLists> mColRows2;
    std::shared_ptr<ColumnCounts> mColColumnsCount1;
    std::shared_ptr<ColumnCounts> mColColumnsCount2;
    std::shared_ptr<CellMap> mDicColumns1;
    std::shared_ptr<CellMap> mDicColumns2;

    // Sets the six members to new, empty containers, in this order.
    void replaceAll();
};

// One file's three containers, as the builder and the table choice see them.
struct StoredFile {
    std::shared_ptr<RowLists> rows;
    std::shared_ptr<ColumnCounts> columnCounts;
    std::shared_ptr<CellMap> cells;
};

StoredFile storedFile(const TableStore& store, int fileNumber);

// Fills one file's containers in walk order; the extraction knows nothing else of them.
class TableStoreBuilder final {
public:
    explicit TableStoreBuilder(StoredFile file);

    void beginTable(std::int32_t tableNumber);
    // A row with that many cells; the last row's count becomes the table's column count.
    void addRow(std::int32_t cellCount);
    void addCell(std::string_view text);
    // A cell whose text could not be read: it stays missing and the next cell keeps its index.
    void skipCell();
    // Appends the row list and the column count when the table has a row; true then.
    bool endTable();

private:
    StoredFile mFile;
    std::int32_t mTable = 0;
    std::int32_t mCell = 0;
    std::int32_t mLastRowCells = 0;
    RowList mRowList;
};

}  // namespace veltrano
