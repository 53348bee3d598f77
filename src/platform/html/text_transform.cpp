#include "platform/html/text_transform.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>
#include <unicode/ucasemap.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include "platform/failure.h"

namespace veltrano::html {
namespace {

[[noreturn]] void failWithIcu(UErrorCode status) {
    throw Failure(std::string("Text could not be case-mapped (ICU: ") + u_errorName(status) + ").");
}

// Letters, digits, marks and connectors such as "_" make up words.
bool isWordCharacter(char32_t c) {
    return (U_GET_GC_MASK(static_cast<UChar32>(c)) &
            (U_GC_L_MASK | U_GC_N_MASK | U_GC_M_MASK | U_GC_PC_MASK)) != 0;
}

// An apostrophe inside a word does not end it ("don't"); other punctuation does.
bool joinsLetters(char32_t c) {
    return c == U'\'' || c == U'\u2019';
}

void appendUtf8(std::string& out, char32_t c) {
    char bytes[U8_MAX_LENGTH];
    std::int32_t length = 0;
    U8_APPEND_UNSAFE(bytes, length, static_cast<UChar32>(c));
    out.append(bytes, static_cast<std::size_t>(length));
}

// The mathematical italic form of a Latin or Greek letter, or c itself.
char32_t toMathItalic(char32_t c) {
    if (c == U'h') {
        return U'\u210E';  // the italic h predates the block and lives outside it
    }
    if (c >= U'A' && c <= U'Z') {
        return U'\U0001D434' + (c - U'A');
    }
    if (c >= U'a' && c <= U'z') {
        return U'\U0001D44E' + (c - U'a');
    }
    if (c >= U'\u0391' && c <= U'\u03A9' && c != U'\u03A2') {
        return U'\U0001D6E2' + (c - U'\u0391');
    }
    if (c >= U'\u03B1' && c <= U'\u03C9') {
        return U'\U0001D6FC' + (c - U'\u03B1');
    }
    switch (c) {
        case U'\u0131':
            return U'\U0001D6A4';
        case U'\u0237':
            return U'\U0001D6A5';
        case U'\u03F4':
            return U'\U0001D6F3';
        case U'\u2207':
            return U'\U0001D6FB';
        case U'\u2202':
            return U'\U0001D715';
        case U'\u03F5':
            return U'\U0001D716';
        case U'\u03D1':
            return U'\U0001D717';
        case U'\u03F0':
            return U'\U0001D718';
        case U'\u03D5':
            return U'\U0001D719';
        case U'\u03F1':
            return U'\U0001D71A';
        case U'\u03D6':
            return U'\U0001D71B';
        default:
            return c;
    }
}

}  // namespace

CaseLocale caseLocaleFor(std::string_view language) {
    const std::string_view primary = language.substr(0, language.find('-'));
    const auto is = [primary](std::string_view code) {
        return primary.size() == code.size() &&
               std::equal(primary.begin(), primary.end(), code.begin(), [](char a, char b) {
                   return (a >= 'A' && a <= 'Z' ? static_cast<char>(a + 32) : a) == b;
               });
    };
    if (is("tr") || is("az")) {
        return CaseLocale::Turkic;
    }
    if (is("lt")) {
        return CaseLocale::Lithuanian;
    }
    if (is("el")) {
        return CaseLocale::Greek;
    }
    return CaseLocale::Root;
}

TextTransformer::~TextTransformer() {
    for (UCaseMap* map : mCaseMaps) {
        if (map != nullptr) {
            ucasemap_close(map);
        }
    }
}

// Throws Failure when ICU cannot open the case mapper.
UCaseMap* TextTransformer::caseMap(CaseLocale locale) {
    UCaseMap*& map = mCaseMaps[static_cast<std::size_t>(locale)];
    if (map == nullptr) {
        static constexpr const char* kLocales[] = {"", "tr", "lt", "el"};
        UErrorCode status = U_ZERO_ERROR;
        map = ucasemap_open(kLocales[static_cast<std::size_t>(locale)], 0, &status);
        if (U_FAILURE(status)) {
            map = nullptr;
            failWithIcu(status);
        }
    }
    return map;
}

void TextTransformer::apply(TextTransform transform, std::string& text, std::size_t from,
                            char32_t previous, CaseLocale locale) {
    switch (transform) {
        case TextTransform::None:
            break;
        case TextTransform::Uppercase:
        case TextTransform::Lowercase:
            mapCase(transform, text, from, locale);
            break;
        case TextTransform::Capitalize:
            capitalize(text, from, previous);
            break;
        case TextTransform::MathAuto:
            mathItalic(text, from);
            break;
    }
}

void TextTransformer::mapCase(TextTransform transform, std::string& text, std::size_t from,
                              CaseLocale locale) {
    const auto map =
        transform == TextTransform::Uppercase ? &ucasemap_utf8ToUpper : &ucasemap_utf8ToLower;
    const auto sourceLength = static_cast<std::int32_t>(text.size() - from);
    // Full case mapping grows a character to at most three; retry once if that was not enough.
    mScratch.resize(static_cast<std::size_t>(sourceLength) * 3 + 4);
    for (;;) {
        UErrorCode status = U_ZERO_ERROR;
        const std::int32_t length =
            map(caseMap(locale), mScratch.data(), static_cast<std::int32_t>(mScratch.size()),
                text.data() + from, sourceLength, &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            mScratch.resize(static_cast<std::size_t>(length));
            continue;
        }
        if (U_FAILURE(status)) {
            failWithIcu(status);
        }
        text.replace(from, std::string::npos, mScratch.data(), static_cast<std::size_t>(length));
        if (locale == CaseLocale::Greek) {
            composeGreek(text, from);
        }
        return;
    }
}

// Greek capitals keep an accent only on a lone eta, which ICU writes as a letter and a combining
// accent where browsers show the precomposed letter.
void TextTransformer::composeGreek(std::string& text, std::size_t from) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) {
        failWithIcu(status);
    }
    mScratch.clear();
    icu::StringByteSink<std::string> sink(&mScratch);
    nfc->normalizeUTF8(
        0, icu::StringPiece(text.data() + from, static_cast<std::int32_t>(text.size() - from)),
        sink, nullptr, status);
    if (U_FAILURE(status)) {
        failWithIcu(status);
    }
    text.replace(from, std::string::npos, mScratch);
}

void TextTransformer::capitalize(std::string& text, std::size_t from, char32_t previous) {
    mScratch.clear();
    bool inWord = previous != 0 && isWordCharacter(previous);
    const auto length = static_cast<std::int32_t>(text.size());
    for (auto i = static_cast<std::int32_t>(from); i < length;) {
        UChar32 c = 0;
        U8_NEXT(text.data(), i, length, c);
        if (c < 0) {
            c = 0xFFFD;
        }
        if (isWordCharacter(static_cast<char32_t>(c))) {
            if (!inWord) {
                c = u_totitle(c);
            }
            inWord = true;
        } else if (!joinsLetters(static_cast<char32_t>(c))) {
            inWord = false;
        }
        appendUtf8(mScratch, static_cast<char32_t>(c));
    }
    text.replace(from, std::string::npos, mScratch);
}

// math-auto changes only a text that is one character.
void TextTransformer::mathItalic(std::string& text, std::size_t from) {
    const auto length = static_cast<std::int32_t>(text.size());
    auto i = static_cast<std::int32_t>(from);
    UChar32 c = 0;
    U8_NEXT(text.data(), i, length, c);
    if (c < 0 || i != length) {
        return;
    }
    mScratch.clear();
    appendUtf8(mScratch, toMathItalic(static_cast<char32_t>(c)));
    text.replace(from, std::string::npos, mScratch);
}

}  // namespace veltrano::html
