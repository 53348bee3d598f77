#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace veltrano::html::parser {

// ASCII whitespace as the tree builder tells it apart from other characters: tab, line feed,
// form feed, carriage return and space.
constexpr bool isAsciiWhitespace(char c) {
    return c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

inline std::size_t leadingWhitespace(std::string_view text) {
    const auto end =
        std::find_if(text.begin(), text.end(), [](char c) { return !isAsciiWhitespace(c); });
    return static_cast<std::size_t>(end - text.begin());
}

inline bool isAllWhitespace(std::string_view text) {
    return leadingWhitespace(text) == text.size();
}

}  // namespace veltrano::html::parser
