#pragma once

#include <algorithm>
#include <string>
#include <string_view>

// ASCII case folding for tag names, attribute values and CSS keywords, which HTML and CSS
// compare without regard to ASCII case only; unlike strcasecmp it ignores the C locale.
namespace veltrano::html {

inline char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string asciiLowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = asciiLower(c);
    }
    return out;
}

// HTML's ASCII whitespace (and CSS's, once CSS has made CR and FF newlines).
inline bool isAsciiWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

// Calls visit(token) for each token of a list separated by ASCII whitespace (a class
// attribute, a rel attribute).
template <class Visit>
void forEachAsciiToken(std::string_view list, Visit&& visit) {
    std::size_t i = 0;
    while (i < list.size()) {
        while (i < list.size() && isAsciiWhitespace(list[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < list.size() && !isAsciiWhitespace(list[i])) {
            ++i;
        }
        if (i > start) {
            visit(list.substr(start, i - start));
        }
    }
}

inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLower(x) == asciiLower(y);
           });
}

}  // namespace veltrano::html
