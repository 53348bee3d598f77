#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace veltrano::html::parser {

// U+FFFD REPLACEMENT CHARACTER in UTF-8, which stands for U+0000 in most of the tokenizer's
// states and for numeric references to nothing.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// Room for one code point in UTF-8.
inline constexpr std::size_t kLongestUtf8 = 4;

// The code point a numeric character reference with this number stands for, as the HTML
// Standard's numeric character reference end state decides: U+FFFD for zero, surrogates and
// numbers beyond U+10FFFF, the windows-1252 character for the C1 controls that have one, the
// number itself otherwise (noncharacters and other controls included). Numbers above
// 0x10FFFF may be passed saturated.
char32_t numericReferenceCodePoint(std::uint32_t number);

// Writes a code point that is not a surrogate as UTF-8 and returns how many bytes it took.
std::size_t encodeUtf8(char32_t codePoint, char* out);

}  // namespace veltrano::html::parser
