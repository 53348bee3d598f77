#pragma once

#include <string>
#include <string_view>

namespace veltrano::html {

// Decoders of the multi-byte encodings, each appending bytes to out as UTF-8. They follow the
// browsers' byte structure: an ill-formed or unmapped sequence becomes one U+FFFD, and an
// ASCII byte that could not complete a character is read again on its own (so a broken
// character never swallows the "<" or quote after it).
void decodeShiftJis(std::string_view bytes, std::string& out);
void decodeEucJp(std::string_view bytes, std::string& out);
void decodeIso2022Jp(std::string_view bytes, std::string& out);
void decodeEucKr(std::string_view bytes, std::string& out);
void decodeBig5(std::string_view bytes, std::string& out);
// GBK documents are decoded the same way: browsers read gb18030 for both.
void decodeGb18030(std::string_view bytes, std::string& out);

}  // namespace veltrano::html
