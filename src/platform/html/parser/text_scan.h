#pragma once

#include <emmintrin.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace veltrano::html::parser {

// The tokenizer's byte classes. Only ASCII matters to it: every byte of a multi-byte UTF-8
// character is "anything else" in every state.
inline bool isAsciiUpper(unsigned char c) {
    return static_cast<unsigned char>(c - 'A') < 26;
}
inline bool isAsciiAlpha(unsigned char c) {
    return static_cast<unsigned char>((c | 0x20) - 'a') < 26;
}
inline bool isAsciiDigit(unsigned char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}
inline bool isAsciiAlphanumeric(unsigned char c) {
    return isAsciiAlpha(c) || isAsciiDigit(c);
}
inline bool isAsciiHexDigit(unsigned char c) {
    return isAsciiDigit(c) || static_cast<unsigned char>((c | 0x20) - 'a') < 6;
}
inline char toAsciiLower(char c) {
    return isAsciiUpper(static_cast<unsigned char>(c)) ? static_cast<char>(c | 0x20) : c;
}
// The HTML Standard's tokenizer white space: tab, LF, FF and space (CR never reaches it, the
// input stream's preprocessing has turned it into LF).
inline bool isTokenizerWhitespace(unsigned char c) {
    return c == ' ' || c == '\n' || c == '\t' || c == '\f';
}

// What a byte is to a name: taken as it is, lower-cased, U+0000 (which becomes U+FFFD), or the
// end of the name.
enum class NameByte : std::uint8_t { Plain, Upper, Null, Stop };

constexpr std::array<NameByte, 256> nameBytes(bool attributeName) {
    std::array<NameByte, 256> bytes{};
    for (int c = 0; c < 256; ++c) {
        auto byte = NameByte::Plain;
        if (c >= 'A' && c <= 'Z') {
            byte = NameByte::Upper;
        } else if (c == 0) {
            byte = NameByte::Null;
        } else if (c == '\t' || c == '\n' || c == '\f' || c == ' ' || c == '/' || c == '>' ||
                   (attributeName && c == '=')) {
            byte = NameByte::Stop;
        }
        bytes[static_cast<std::size_t>(c)] = byte;
    }
    return bytes;
}

inline constexpr auto kTagNameBytes = nameBytes(false);
inline constexpr auto kAttributeNameBytes = nameBytes(true);

// The first byte in [p, end) that is one of Stops, or end: sixteen bytes at a time with SSE2
// (the x86-64 baseline), the last few one at a time so that nothing past end is read.
template <char... Stops>
inline const char* findFirstOf(const char* p, const char* end) {
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i hits = _mm_setzero_si128();
        ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(Stops)))), ...);
        if (const int mask = _mm_movemask_epi8(hits); mask != 0) {
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        }
        p += 16;
    }
    while (p < end && ((*p != Stops) && ...)) {
        ++p;
    }
    return p;
}

}  // namespace veltrano::html::parser
