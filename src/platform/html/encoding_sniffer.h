#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "platform/html/encoding.h"

namespace veltrano::html {

// How many leading bytes the prescan looks at; a declaration further on is not seen.
inline constexpr std::size_t kPrescanLength = 1024;

struct ByteOrderMark {
    Encoding encoding;   // UTF-8, UTF-16BE or UTF-16LE
    std::size_t length;  // bytes the mark takes at the start of the input
};

// The byte order mark the bytes start with, if any.
std::optional<ByteOrderMark> sniffByteOrderMark(std::string_view bytes);

// The encoding a <meta> element declares within the first kPrescanLength bytes, found the way
// a browser prescans a document before parsing it: comments and the attributes of other tags
// are skipped, a declaration cut off by the end of the scanned bytes counts as none, a declared
// UTF-16 gives UTF-8 (the bytes just read were ASCII-compatible) and x-user-defined gives
// windows-1252.
std::optional<Encoding> prescanForEncoding(std::string_view bytes);

}  // namespace veltrano::html
