#include "tables/row_list.h"

namespace veltrano {

std::string RowList::text() const {
    std::string text;
    for (std::int32_t row = 1; row <= mRowCount; ++row) {
        text.append("Row ").append(std::to_string(row)).append(kRowSeparator);
    }
    return text;
}

}  // namespace veltrano
