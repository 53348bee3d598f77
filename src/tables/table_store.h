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
// column count (the largest number of cells of any of its rows), and one cell map per file. Members
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
// Puts one file's containers in place of that file's members.
void setStoredFile(TableStore& store, int fileNumber, StoredFile file);

// Where the walk of a document puts what it finds, in walk order.
class TableSink {
public:
    virtual ~TableSink() = default;
    virtual void beginTable(std::int32_t tableNumber) = 0;
    // A row with that many cells; the largest count becomes the table's column count.
    virtual void addRow(std::int32_t cellCount) = 0;
    virtual void addCell(std::string_view text) = 0;
    // A cell whose text could not be read: it stays missing and the next cell keeps its index.
    virtual void skipCell() = 0;
    // True when the table had a row, and so was listed.
    virtual bool endTable() = 0;
};

// Fills one file's containers; the extraction knows nothing else of them.
class TableStoreBuilder final : public TableSink {
public:
    explicit TableStoreBuilder(StoredFile file);

    void beginTable(std::int32_t tableNumber) override;
    void addRow(std::int32_t cellCount) override;
    void addCell(std::string_view text) override;
    void skipCell() override;
    // Appends the row list and the column count when the table has a row.
    bool endTable() override;

private:
    StoredFile mFile;
    std::int32_t mTable = 0;
    std::int32_t mCell = 0;
    std::int32_t mMostCells = 0;
    RowList mRowList;
};

}  // namespace veltrano
