#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/html/encoding.h"
#include "platform/html/multi_byte_decoder.h"

namespace veltrano::html {

class SingleByteDecoder;

// Decodes a document in one encoding into UTF-8, piece by piece, as browsers decode: malformed
// bytes become U+FFFD; line endings and NUL bytes are kept.
class StreamDecoder final {
public:
    // Throws veltrano::Failure when ICU's conversion data for the encoding cannot be loaded.
    explicit StreamDecoder(Encoding encoding);

    // Appends the UTF-8 of bytes to out. Unless last, a character cut off by the end is left
    // undecoded: returns how many bytes that is, to be passed again ahead of the next piece.
    std::size_t decode(std::string_view bytes, bool last, std::string& out);

private:
    Encoding mEncoding;
    const SingleByteDecoder* mSingleByte;
    Iso2022JpState mIso2022Jp;
    bool mReplacementWritten = false;
};

struct DecodedText {
    std::string utf8;      // the whole document as UTF-8
    std::string encoding;  // the Encoding Standard name that was used, e.g. "windows-1252"
};

// Encoding from a byte order mark (the mark is not part of the text), else from the
// prescan's meta charset, else UTF-8 when the bytes are valid UTF-8, else windows-1252.
DecodedText decodeHtmlBytes(std::string_view bytes);

}  // namespace veltrano::html
