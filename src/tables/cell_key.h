#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltrano {

// The key of one stored cell, "Table N_Row r_c": table and row numbers count from 1, the
// cell index from 0. Kept as numbers; the text form exists only when asked for.
struct CellKey {
    std::int32_t table = 0;
    std::int32_t row = 0;
    std::int32_t cell = 0;

    friend auto operator<=>(const CellKey&, const CellKey&) = default;

    std::string text() const;
    // Only the exact text form: plain decimal digits, no sign, no leading zeros or blanks.
    static std::optional<CellKey> parse(std::string_view text);
};

// The table label "Table N" of the table numbered N.
std::string tableLabel(std::int32_t tableNumber);
// The number of a table label, when the text is exactly one.
std::optional<std::int32_t> parseTableLabel(std::string_view label);

}  // namespace veltrano
