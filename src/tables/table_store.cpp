#include "tables/table_store.h"

#include <algorithm>
#include <utility>

namespace veltrano {

void TableStore::replaceAll() {
    mColRows1 = std::make_shared<RowLists>();
    mColRows2 = std::make_shared<RowLists>();
    mColColumnsCount1 = std::make_shared<ColumnCounts>();
    mColColumnsCount2 = std::make_shared<ColumnCounts>();
    mDicColumns1 = std::make_shared<CellMap>();
    mDicColumns2 = std::make_shared<CellMap>();
}

StoredFile storedFile(const TableStore& store, int fileNumber) {
    if (fileNumber == 1) {
        return {store.mColRows1, store.mColColumnsCount1, store.mDicColumns1};
    }
    return {store.mColRows2, store.mColColumnsCount2, store.mDicColumns2};
}

void setStoredFile(TableStore& store, int fileNumber, StoredFile file) {
    (fileNumber == 1 ? store.mColRows1 : store.mColRows2) = std::move(file.rows);
    (fileNumber == 1 ? store.mColColumnsCount1 : store.mColColumnsCount2) =
        std::move(file.columnCounts);
    (fileNumber == 1 ? store.mDicColumns1 : store.mDicColumns2) = std::move(file.cells);
}

TableStoreBuilder::TableStoreBuilder(StoredFile file) : mFile(std::move(file)) {}

void TableStoreBuilder::beginTable(std::int32_t tableNumber) {
    mTable = tableNumber;
    mRowList = RowList();
    mMostCells = 0;
}

void TableStoreBuilder::addRow(std::int32_t cellCount) {
    mRowList.appendRow();
    // The widest row, not the last: a one-cell total row or a last row of header cells
    // must not cut the other rows' cells from the grid and the result.
    mMostCells = std::max(mMostCells, cellCount);
    mCell = 0;
}

void TableStoreBuilder::addCell(std::string_view text) {
    mFile.cells->add({mTable, mRowList.rowCount(), mCell}, text);
    ++mCell;
}

void TableStoreBuilder::skipCell() {
    ++mCell;
}

bool TableStoreBuilder::endTable() {
    if (mRowList.isEmpty()) {
        return false;
    }
    mFile.rows->add(mRowList);
    mFile.columnCounts->add(mMostCells);
    return true;
}

}  // namespace veltrano
