#include "tables/cell_key.h"

#include <charconv>

namespace veltrano {

namespace {

constexpr std::string_view kTablePrefix = "Table ";
constexpr std::string_view kRowInfix = "_Row ";

// Reads a plain decimal number at the front of text and removes it from text.
std::optional<std::int32_t> takeNumber(std::string_view& text) {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        ++digits;
    }
    if (digits == 0 || (digits > 1 && text[0] == '0')) {
        return std::nullopt;
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + digits, value);
    if (error != std::errc()) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

bool takePrefix(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) {
        return false;
    }
    text.remove_prefix(prefix.size());
    return true;
}

}  // namespace

std::string CellKey::text() const {
    std::string key = tableLabel(table);
    key.append(kRowInfix).append(std::to_string(row)).append("_").append(std::to_string(cell));
    return key;
}

std::optional<CellKey> CellKey::parse(std::string_view text) {
    if (!takePrefix(text, kTablePrefix)) {
        return std::nullopt;
    }
    const auto table = takeNumber(text);
    if (!table || !takePrefix(text, kRowInfix)) {
        return std::nullopt;
    }
    const auto row = takeNumber(text);
    if (!row || !takePrefix(text, "_")) {
        return std::nullopt;
    }
    const auto cell = takeNumber(text);
    if (!cell || !text.empty()) {
        return std::nullopt;
    }
    return CellKey{*table, *row, *cell};
}

std::string tableLabel(std::int32_t tableNumber) {
    std::string label(kTablePrefix);
    label.append(std::to_string(tableNumber));
    return label;
}

std::optional<std::int32_t> parseTableLabel(std::string_view label) {
    if (!takePrefix(label, kTablePrefix)) {
        return std::nullopt;
    }
    const auto number = takeNumber(label);
    if (!number || !label.empty()) {
        return std::nullopt;
    }
    return number;
}

}  // namespace veltrano
