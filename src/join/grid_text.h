#pragma once

#include <span>
#include <string>

#include "join/grid_source.h"

namespace veltrano {

// The given rows of a grid (0-based, in the order given) as tab-separated text for the
// clipboard: one row a line, each line ending with a line feed, cells separated by tabs.
// Tabs and line breaks inside a cell become one blank each (CR LF one blank), so that every
// row stays one line of text and one row of a spreadsheet it is pasted into.
std::string tabSeparatedRows(const GridSource& grid, std::span<const int> rows);

}  // namespace veltrano
