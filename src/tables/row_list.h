#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace veltrano {

inline constexpr std::string_view kRowSeparator = "||MySeparator123||";

// A listed table's row-list text, "Row 1||MySeparator123||Row 2||MySeparator123||...", one
// label and one separator per row. It tells only how many rows the table has, so it is kept
// as that count; text() writes the text out when someone wants to see it. Splitting the text
// at the separator gives one non-empty piece per row and a last, empty piece.
class RowList final {
public:
    // Appends "Row n||MySeparator123||" for the next row.
    void appendRow() { ++mRowCount; }
    bool isEmpty() const { return mRowCount == 0; }
    // The number of non-empty pieces: rows 1 to rowCount().
    std::int32_t rowCount() const { return mRowCount; }
    std::string text() const;

private:
    std::int32_t mRowCount = 0;
};

}  // namespace veltrano
