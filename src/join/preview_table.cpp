#include "join/preview_table.h"

#include "tables/cell_key.h"

namespace veltrano {

PreviewTable PreviewTable::choose(const StoredFile& file, std::size_t position,
                                  std::string_view label) {
    PreviewTable table;
    table.mColumnCount = file.columnCounts->item(position + 1);
    const RowList& rows = file.rows->item(position + 1);
    table.mRowCount = table.mColumnCount > 0 ? rows.rowCount() : 0;
    table.mCells = file.cells;
    // A label that is not "Table N" names no stored cell: every cell reads as empty.
    table.mSpan = file.cells->table(parseTableLabel(label).value_or(0));
    return table;
}

std::string_view PreviewTable::cell(int row, int column) const {
    return mCells ? mCells->item(mSpan, row + 1, column) : std::string_view();
}

}  // namespace veltrano
