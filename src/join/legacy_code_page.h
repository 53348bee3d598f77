#pragma once

#include <cstddef>
#include <string_view>

namespace veltrano {

// Cell text as the result file holds it. The file is single-byte text in the legacy code
// page, windows-1252 here. "&", "<" and ">" become "&amp;", "&lt;" and "&gt;"; characters the
// code page holds become their byte; every other character becomes a decimal character
// reference ("&#8594;"), so the page still shows it. Invalid UTF-8 shows as U+FFFD, one per
// maximal invalid sequence. Everything else (line breaks, quotes) stays as it is.

// The most bytes that come of utf8Bytes bytes of text: an invalid byte becomes "&#65533;".
constexpr std::size_t maxEscapedLegacyTextSize(std::size_t utf8Bytes) {
    return 8 * utf8Bytes;
}

// The number of bytes writeEscapedLegacyText writes for utf8Text.
std::size_t escapedLegacyTextSize(std::string_view utf8Text);

// Writes utf8Text, converted, at out, which must have room for escapedLegacyTextSize(utf8Text)
// bytes; returns the end of what was written.
char* writeEscapedLegacyText(char* out, std::string_view utf8Text);

}  // namespace veltrano
