#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/html/parser/text_store.h"

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

// Calls insert with each stretch of whitespace of a run, in order: the modes that drop every
// other character (framesets, a template's column group) still keep a run's whitespace.
template <class Insert>
void forEachWhitespaceStretch(TextRef run, std::string_view text, Insert&& insert) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isAsciiWhitespace(text[i])) {
            ++i;
            continue;
        }
        const std::size_t length = leadingWhitespace(text.substr(i));
        insert(TextRef{run.offset + static_cast<std::uint32_t>(i),
                       static_cast<std::uint32_t>(length)});
        i += length;
    }
}

}  // namespace veltrano::html::parser
