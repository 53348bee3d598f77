#pragma once

#include <optional>
#include <string_view>

struct UConverter;

namespace veltrano::html {

// Looks up what a byte sequence means in one of ICU's converters. The decoders build their
// tables with it once; it is too slow to call per character of a document. Not thread-safe.
class IcuCodeLookup final {
public:
    // Throws veltrano::Failure when ICU has no converter of that name.
    explicit IcuCodeLookup(const char* converterName);
    ~IcuCodeLookup();
    IcuCodeLookup(const IcuCodeLookup&) = delete;
    IcuCodeLookup& operator=(const IcuCodeLookup&) = delete;

    // The one character the whole of bytes stands for; nothing when ICU finds the sequence
    // ill-formed or unmapped, or reads it as more than one character.
    std::optional<char32_t> decode(std::string_view bytes);

private:
    UConverter* mConverter;
};

}  // namespace veltrano::html
