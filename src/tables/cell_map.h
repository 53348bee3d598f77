#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "tables/cell_key.h"
#include "tables/chunked_vector.h"

namespace veltrano {

// One file's cell map: cell key to cell text (UTF-8), keys compared exactly. A key that is
// not in the map reads as empty text; adding an existing key is an error.
//
// Cells arrive in walk order (tables by rising number, rows and cells rising within them),
// so the map is laid out as arrays instead of a hash of texts: a row's texts lie end to end
// in one arena block, each row keeps where its texts start and where its cells begin in the
// cell array, and each cell keeps only where its text ends. A million rows of twenty cells
// cost 16 bytes a row and 4 bytes a cell beyond the texts themselves.
class CellMap final {
public:
    // Where one table's rows begin; cheap to keep, so that reading a table's cells needs no
    // search per cell.
    struct TableSpan {
        std::int32_t number = 0;
        std::size_t firstRow = 0;
        std::int32_t rowCount = 0;  // rows up to the last one that has a cell
    };

    CellMap() = default;
    CellMap(const CellMap&) = delete;
    CellMap& operator=(const CellMap&) = delete;

    // Throws Failure for a key already present. Keys must come in walk order; indexes left
    // out before a key (cells whose text could not be read) stay missing.
    void add(const CellKey& key, std::string_view text);

    std::string_view item(const CellKey& key) const;
    bool exists(const CellKey& key) const;
    std::size_t count() const { return mPresentCells; }

    // The span of the table with that number; an empty span when it has no cells.
    TableSpan table(std::int32_t number) const;
    // The text of cell `cell` of row `row` (from 1) of a span; empty when missing.
    std::string_view item(const TableSpan& span, std::int32_t row, std::int32_t cell) const;

    std::size_t bytesReserved() const;

private:
    struct Row {
        const char* text = nullptr;  // start of the row's texts in the arena
        std::size_t firstCell = 0;
    };

    void openRowsUpTo(std::int32_t row);
    char* reserveInRow(std::size_t bytes);
    std::size_t cellsInRow(std::size_t rowIndex) const;

    // Each cell's end offset from its row's start; the top bit marks a missing cell.
    static constexpr std::uint32_t kMissing = 0x80000000u;

    std::vector<TableSpan> mTables;
    ChunkedVector<Row> mRows;
    ChunkedVector<std::uint32_t> mCellEnds;
    std::vector<std::unique_ptr<char[]>> mBlocks;
    std::size_t mBlockBytes = 0;  // total size of all blocks
    char* mFree = nullptr;        // free space at the end of the last block
    std::size_t mFreeBytes = 0;
    std::size_t mPresentCells = 0;
};

}  // namespace veltrano
