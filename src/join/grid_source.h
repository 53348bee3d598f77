#pragma once

#include <string_view>

namespace veltrano {

// What a preview grid holds, as the join reads it. Rows and columns count from 0; column 0
// is a row's own text and columns 1 onward its sub-items. Texts are UTF-8.
class GridSource {
public:
    virtual ~GridSource() = default;
    virtual int rowCount() const = 0;
    virtual int columnCount() const = 0;
    // Valid while the grid is unchanged; row and column must be in range.
    virtual std::string_view cell(int row, int column) const = 0;
};

}  // namespace veltrano
