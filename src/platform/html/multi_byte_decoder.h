#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace veltrano::html {

// Decoders of the multi-byte encodings, each appending bytes to out as UTF-8. They follow the
// browsers' byte structure: an ill-formed or unmapped sequence becomes one U+FFFD, and an
// ASCII byte that could not complete a character is read again on its own (so a broken
// character never swallows the "<" or quote after it).
//
// A document may come in pieces: unless last, a character cut off by the end is left for the
// next call, which is given those bytes again ahead of the next piece; each decoder returns
// how many bytes that is.
std::size_t decodeShiftJis(std::string_view bytes, std::string& out, bool last = true);
std::size_t decodeEucJp(std::string_view bytes, std::string& out, bool last = true);
std::size_t decodeEucKr(std::string_view bytes, std::string& out, bool last = true);
std::size_t decodeBig5(std::string_view bytes, std::string& out, bool last = true);
// GBK documents are decoded the same way: browsers read gb18030 for both.
std::size_t decodeGb18030(std::string_view bytes, std::string& out, bool last = true);

// ISO-2022-JP's escape sequences switch a state that lasts beyond one piece of the document.
struct Iso2022JpState {
    std::uint8_t output = 0;   // the character set the last escape sequence chose
    bool afterEscape = false;  // an escape sequence was the last thing read
};
std::size_t decodeIso2022Jp(std::string_view bytes, std::string& out, bool last = true);
std::size_t decodeIso2022Jp(std::string_view bytes, std::string& out, bool last,
                            Iso2022JpState& state);

}  // namespace veltrano::html
