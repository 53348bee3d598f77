#include "join/legacy_code_page.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <utility>

namespace veltrano {
namespace {

// The characters of bytes 0x80 to 0x9F. The five bytes windows-1252 leaves unassigned map
// to the C1 control of the same value, as Windows' own conversion does.
constexpr std::array<char16_t, 32> kCharactersOfBytes80To9F = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The same table searchable by character.
constexpr auto kBytes80To9FByCharacter = [] {
    std::array<std::pair<char16_t, unsigned char>, 32> byCharacter{};
    for (std::size_t i = 0; i < byCharacter.size(); ++i) {
        byCharacter[i] = {kCharactersOfBytes80To9F[i], static_cast<unsigned char>(0x80 + i)};
    }
    std::sort(byCharacter.begin(), byCharacter.end());
    return byCharacter;
}();

constexpr char32_t kReplacementCharacter = 0xFFFD;

// The windows-1252 byte of a non-ASCII character, or -1 when the code page lacks it.
int legacyByte(char32_t character) {
    if (character >= 0xA0 && character <= 0xFF) {
        return static_cast<int>(character);
    }
    const auto* found =
        std::lower_bound(kBytes80To9FByCharacter.begin(), kBytes80To9FByCharacter.end(), character,
                         [](const std::pair<char16_t, unsigned char>& entry, char32_t wanted) {
                             return entry.first < wanted;
                         });
    return found != kBytes80To9FByCharacter.end() && found->first == character ? found->second : -1;
}

// Decodes the non-ASCII sequence at `at`, advancing it. An invalid sequence gives U+FFFD and
// advances past its maximal invalid part only, so a following valid character is kept.
char32_t decodeNonAscii(const char*& at, const char* end) {
    const auto lead = static_cast<unsigned char>(*at++);
    int following = 0;
    char32_t character = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        following = 1;
        character = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        following = 2;
        character = lead & 0x0F;
        low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        following = 3;
        character = lead & 0x07;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing above U+10FFFF
    } else {
        return kReplacementCharacter;
    }
    for (int i = 0; i < following; ++i) {
        if (at == end) {
            return kReplacementCharacter;
        }
        const auto next = static_cast<unsigned char>(*at);
        if (next < low || next > high) {
            return kReplacementCharacter;
        }
        character = (character << 6) | (next & 0x3F);
        ++at;
        low = 0x80;
        high = 0xBF;
    }
    return character;
}

// What an ASCII byte becomes: empty for a byte written as it is.
constexpr std::array<std::string_view, 128> kAsciiEscapes = [] {
    std::array<std::string_view, 128> escapes{};
    escapes['&'] = "&amp;";
    escapes['<'] = "&lt;";
    escapes['>'] = "&gt;";
    return escapes;
}();

// Bytes copied as they stand: ASCII that needs no escape.
constexpr std::array<bool, 256> kCopiedAsIs = [] {
    std::array<bool, 256> copied{};
    for (std::size_t byte = 0; byte < kAsciiEscapes.size(); ++byte) {
        copied[byte] = kAsciiEscapes[byte].empty();
    }
    return copied;
}();

// Writes at a position the caller has made room at, or only counts what would be written; one
// walk serves both, so the size can never disagree with the bytes.
class WritingSink {
public:
    explicit WritingSink(char* at) : mAt(at) {}
    void put(char byte) { *mAt++ = byte; }
    void put(std::string_view bytes) { mAt = std::copy(bytes.begin(), bytes.end(), mAt); }
    char* end() const { return mAt; }

private:
    char* mAt;
};

class CountingSink {
public:
    void put(char) { ++mSize; }
    void put(std::string_view bytes) { mSize += bytes.size(); }
    std::size_t size() const { return mSize; }

private:
    std::size_t mSize = 0;
};

template <class Sink>
void putReference(Sink& sink, char32_t character) {
    char reference[16] = {'&', '#'};
    char* const digitsEnd = std::to_chars(reference + 2, reference + sizeof reference - 1,
                                          static_cast<std::uint32_t>(character))
                                .ptr;
    *digitsEnd = ';';
    sink.put(std::string_view(reference, static_cast<std::size_t>(digitsEnd + 1 - reference)));
}

template <class Sink>
void convert(Sink& sink, std::string_view text) {
    const char* at = text.data();
    const char* const end = at + text.size();
    while (at != end) {
        const auto byte = static_cast<unsigned char>(*at);
        if (kCopiedAsIs[byte]) {
            sink.put(static_cast<char>(byte));
            ++at;
        } else if (byte < 0x80) {
            sink.put(kAsciiEscapes[byte]);
            ++at;
        } else {
            const char32_t character = decodeNonAscii(at, end);
            const int legacy = legacyByte(character);
            if (legacy >= 0) {
                sink.put(static_cast<char>(legacy));
            } else {
                putReference(sink, character);
            }
        }
    }
}

}  // namespace

std::size_t escapedLegacyTextSize(std::string_view utf8Text) {
    CountingSink sink;
    convert(sink, utf8Text);
    return sink.size();
}

char* writeEscapedLegacyText(char* out, std::string_view utf8Text) {
    WritingSink sink(out);
    convert(sink, utf8Text);
    return sink.end();
}

}  // namespace veltrano
