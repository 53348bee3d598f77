#include "tables/cell_map.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/failure.h"

namespace veltrano {

namespace {

constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

[[noreturn]] void failDuplicate() {
    throw Failure("This key is already associated with an element of this collection");
}

}  // namespace

void CellMap::add(const CellKey& key, std::string_view text) {
    if (mTables.empty() || key.table > mTables.back().number) {
        mTables.push_back({key.table, mRows.size(), 0});
    }
    TableSpan& span = mTables.back();
    const bool beforeCurrentRow = key.table < span.number || key.row < span.rowCount;
    if (beforeCurrentRow || key.row < 1 || key.cell < 0) {
        if (exists(key)) {
            failDuplicate();
        }
        throw std::logic_error("cells must be added in walk order");
    }
    openRowsUpTo(key.row);

    const std::size_t rowIndex = mRows.size() - 1;
    const std::size_t cellCount = cellsInRow(rowIndex);
    const auto cellIndex = static_cast<std::size_t>(key.cell);
    if (cellIndex < cellCount) {
        if (exists(key)) {
            failDuplicate();
        }
        throw std::logic_error("cells must be added in walk order");
    }
    const std::uint32_t rowBytes = cellCount == 0 ? 0 : (mCellEnds.back() & ~kMissing);
    for (std::size_t gap = cellCount; gap < cellIndex; ++gap) {
        mCellEnds.push_back(rowBytes | kMissing);
    }
    if (rowBytes + text.size() >= kMissing) {
        throw Failure("A table row holds too much text (over 2 GB).");
    }
    if (!text.empty()) {
        std::memcpy(reserveInRow(text.size()), text.data(), text.size());
    }
    const auto end = static_cast<std::uint32_t>(rowBytes + text.size());
    mCellEnds.push_back(end);
    ++mPresentCells;
}

void CellMap::openRowsUpTo(std::int32_t row) {
    TableSpan& span = mTables.back();
    while (span.rowCount < row) {
        mRows.push_back({mFree, mCellEnds.size()});
        ++span.rowCount;
    }
}

char* CellMap::reserveInRow(std::size_t bytes) {
    if (bytes > mFreeBytes) {
        // The row's texts must stay together: move what the row has so far to a new block.
        Row& row = mRows.back();
        const std::size_t cellCount = cellsInRow(mRows.size() - 1);
        const std::size_t rowBytes = cellCount == 0 ? 0 : (mCellEnds.back() & ~kMissing);
        const std::size_t size = std::max(kBlockBytes, 2 * rowBytes + bytes);
        mBlocks.push_back(std::make_unique_for_overwrite<char[]>(size));
        char* block = mBlocks.back().get();
        if (rowBytes != 0) {
            std::memcpy(block, row.text, rowBytes);
        }
        row.text = block;
        mBlockBytes += size;
        mFree = block + rowBytes;
        mFreeBytes = size - rowBytes;
    }
    char* place = mFree;
    mFree += bytes;
    mFreeBytes -= bytes;
    return place;
}

std::size_t CellMap::cellsInRow(std::size_t rowIndex) const {
    const std::size_t next =
        rowIndex + 1 < mRows.size() ? mRows[rowIndex + 1].firstCell : mCellEnds.size();
    return next - mRows[rowIndex].firstCell;
}

CellMap::TableSpan CellMap::table(std::int32_t number) const {
    const auto found = std::lower_bound(
        mTables.begin(), mTables.end(), number,
        [](const TableSpan& span, std::int32_t wanted) { return span.number < wanted; });
    if (found == mTables.end() || found->number != number) {
        return TableSpan{number, 0, 0};
    }
    return *found;
}

std::string_view CellMap::item(const TableSpan& span, std::int32_t row, std::int32_t cell) const {
    if (row < 1 || row > span.rowCount || cell < 0) {
        return {};
    }
    const std::size_t rowIndex = span.firstRow + static_cast<std::size_t>(row - 1);
    const auto cellIndex = static_cast<std::size_t>(cell);
    if (cellIndex >= cellsInRow(rowIndex)) {
        return {};
    }
    const Row& stored = mRows[rowIndex];
    const std::uint32_t end = mCellEnds[stored.firstCell + cellIndex];
    if ((end & kMissing) != 0) {
        return {};
    }
    const std::uint32_t begin =
        cellIndex == 0 ? 0 : (mCellEnds[stored.firstCell + cellIndex - 1] & ~kMissing);
    return {stored.text + begin, end - begin};
}

std::string_view CellMap::item(const CellKey& key) const {
    return item(table(key.table), key.row, key.cell);
}

bool CellMap::exists(const CellKey& key) const {
    const TableSpan span = table(key.table);
    if (key.row < 1 || key.row > span.rowCount || key.cell < 0) {
        return false;
    }
    const std::size_t rowIndex = span.firstRow + static_cast<std::size_t>(key.row - 1);
    const auto cellIndex = static_cast<std::size_t>(key.cell);
    return cellIndex < cellsInRow(rowIndex) &&
           (mCellEnds[mRows[rowIndex].firstCell + cellIndex] & kMissing) == 0;
}

std::size_t CellMap::bytesReserved() const {
    return mBlockBytes + mRows.bytesReserved() + mCellEnds.bytesReserved() +
           mTables.capacity() * sizeof(TableSpan) +
           mBlocks.capacity() * sizeof(std::unique_ptr<char[]>);
}

}  // namespace veltrano
