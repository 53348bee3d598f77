#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace veltrano::html {

enum class ByteOrder { BigEndian, LittleEndian };

// Appends UTF-16 bytes (without their byte order mark) to out as UTF-8; an unpaired surrogate
// and a lone last byte each become U+FFFD. Unless last, a unit or surrogate pair cut off by the
// end is left for the next call: returns how many bytes that is.
std::size_t decodeUtf16(std::string_view bytes, ByteOrder order, std::string& out,
                        bool last = true);

}  // namespace veltrano::html
