#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "join/grid_source.h"
#include "tables/cell_map.h"
#include "tables/table_store.h"

namespace veltrano {

// What a preview grid shows: one listed table of one file, read from the store by the table
// choice. It shares the file's cell map instead of copying the cells, and keeps it alive
// when a later "Next >" replaces the store.
class PreviewTable final : public GridSource {
public:
    // An empty grid: no columns, no rows.
    PreviewTable() = default;

    // The table at 0-based position `position` of the file's table choice list, whose text
    // is `label`: as many columns as the table's column count, one row per non-empty piece of
    // its row list, each cell looked up under label + "_Row " + row + "_" + column; missing
    // keys read as empty text. No rows at all when the column count is 0.
    static PreviewTable choose(const StoredFile& file, std::size_t position,
                               std::string_view label);

    int rowCount() const override { return mRowCount; }
    int columnCount() const override { return mColumnCount; }
    std::string_view cell(int row, int column) const override;

private:
    std::shared_ptr<const CellMap> mCells;
    CellMap::TableSpan mSpan;
    std::int32_t mRowCount = 0;
    std::int32_t mColumnCount = 0;
};

}  // namespace veltrano
