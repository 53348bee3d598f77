#pragma once

#include <algorithm>
#include <string_view>

// ASCII case folding for tag names, attribute values and CSS keywords, which HTML and CSS
// compare without regard to ASCII case only; unlike strcasecmp it ignores the C locale.
namespace veltrano::html {

inline char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLower(x) == asciiLower(y);
           });
}

}  // namespace veltrano::html
