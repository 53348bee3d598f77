#pragma once

#include <string>
#include <string_view>

namespace veltrano::html {

struct DecodedText {
    std::string utf8;      // the whole document as UTF-8
    std::string encoding;  // the Encoding Standard name that was used, e.g. "windows-1252"
};

// Encoding from a byte order mark (the mark is not part of the text), else from the
// prescan's meta charset, else UTF-8 when the bytes are valid UTF-8, else windows-1252.
// Never fails on content: malformed bytes become U+FFFD; line endings and NUL bytes are kept.
// Throws veltrano::Failure only when ICU's conversion data for the encoding cannot be loaded.
DecodedText decodeHtmlBytes(std::string_view bytes);

}  // namespace veltrano::html
