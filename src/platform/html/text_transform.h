#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/html/element_style.h"

struct UCaseMap;

namespace veltrano::html {

// The case locale of a language tag ("tr", "az-Latn", "EL"); Root for any other or none.
CaseLocale caseLocaleFor(std::string_view language);

// CSS text-transform over rendered text, with ICU's full Unicode case mapping. Owns ICU's case
// mappers; keep one per renderer.
class TextTransformer final {
public:
    TextTransformer() = default;
    ~TextTransformer();
    TextTransformer(const TextTransformer&) = delete;
    TextTransformer& operator=(const TextTransformer&) = delete;

    // Rewrites text from byte `from` to its end. previous is the character shown before
    // text[from] on the same line, 0 after a space or at the line's start: capitalize starts
    // a word only where it does not continue one.
    // Upper and lower case follow locale.
    void apply(TextTransform transform, std::string& text, std::size_t from, char32_t previous,
               CaseLocale locale = CaseLocale::Root);

private:
    UCaseMap* caseMap(CaseLocale locale);
    void mapCase(TextTransform transform, std::string& text, std::size_t from, CaseLocale locale);
    void composeGreek(std::string& text, std::size_t from);
    void capitalize(std::string& text, std::size_t from, char32_t previous);
    void mathItalic(std::string& text, std::size_t from);

    std::array<UCaseMap*, 4> mCaseMaps{};  // opened when first needed
    std::string mScratch;
};

}  // namespace veltrano::html
