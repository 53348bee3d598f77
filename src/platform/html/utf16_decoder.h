#pragma once

#include <string>
#include <string_view>

namespace veltrano::html {

enum class ByteOrder { BigEndian, LittleEndian };

// Appends UTF-16 bytes (without their byte order mark) to out as UTF-8; an unpaired surrogate
// and a lone last byte each become U+FFFD.
void decodeUtf16(std::string_view bytes, ByteOrder order, std::string& out);

}  // namespace veltrano::html
