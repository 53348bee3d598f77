#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace veltrano::html {

// True when bytes are well-formed UTF-8: no overlong forms, surrogates or values past U+10FFFF,
// no sequence cut off at the end.
bool isValidUtf8(std::string_view bytes);

// Length of the longest well-formed prefix of bytes.
std::size_t validUtf8PrefixLength(std::string_view bytes);

// Appends bytes to out as UTF-8, each maximal ill-formed subsequence replaced by one U+FFFD,
// as browsers decode UTF-8. Well-formed runs are copied as they are. Unless last, a sequence
// cut off by the end is left for the next call: returns how many bytes that is.
std::size_t decodeUtf8(std::string_view bytes, std::string& out, bool last = true);

}  // namespace veltrano::html
