#pragma once

#include <cstddef>
#include <string>

#include "platform/html/element_style.h"

struct UCaseMap;

namespace veltrano::html {

// CSS text-transform over rendered text, with ICU's full Unicode case mapping (root locale).
// Owns ICU's case mapper; keep one per renderer.
class TextTransformer final {
public:
    // Throws Failure when ICU cannot open its case mapper.
    TextTransformer();
    ~TextTransformer();
    TextTransformer(const TextTransformer&) = delete;
    TextTransformer& operator=(const TextTransformer&) = delete;

    // Rewrites text from byte `from` to its end. previous is the character shown before
    // text[from] on the same line, 0 after a space or at the line's start: capitalize starts
    // a word only where it does not continue one.
    void apply(TextTransform transform, std::string& text, std::size_t from, char32_t previous);

private:
    void mapCase(TextTransform transform, std::string& text, std::size_t from);
    void capitalize(std::string& text, std::size_t from, char32_t previous);
    void mathItalic(std::string& text, std::size_t from);

    UCaseMap* mCaseMap;
    std::string mScratch;
};

}  // namespace veltrano::html
