#include "join/grid_text.h"

namespace veltrano {

namespace {

void appendCell(std::string& text, std::string_view cell) {
    for (std::size_t i = 0; i < cell.size(); ++i) {
        const char c = cell[i];
        if (c == '\r' && i + 1 < cell.size() && cell[i + 1] == '\n') {
            continue;  // the line feed that follows makes the blank
        }
        text += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
    }
}

}  // namespace

std::string tabSeparatedRows(const GridSource& grid, std::span<const int> rows) {
    std::string text;
    for (const int row : rows) {
        for (int column = 0; column < grid.columnCount(); ++column) {
            if (column > 0) {
                text += '\t';
            }
            appendCell(text, grid.cell(row, column));
        }
        text += '\n';
    }
    return text;
}

}  // namespace veltrano
