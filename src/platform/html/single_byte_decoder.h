#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/html/encoding.h"

namespace veltrano::html {

// Decodes one of the single-byte encodings (windows-1252, ISO-8859-x, KOI8-R, ...) through a
// table of the UTF-8 form of every byte. The tables come from ICU's converters, corrected where
// ICU's mapping differs from what browsers use.
class SingleByteDecoder final {
public:
    // The decoder of a single-byte encoding, built on first use and kept for the life of the
    // process; nullptr for any other encoding. Thread-safe.
    static const SingleByteDecoder* forEncoding(Encoding encoding);

    // Appends bytes to out as UTF-8; a byte the encoding leaves unmapped becomes U+FFFD.
    void decode(std::string_view bytes, std::string& out) const;

private:
    friend class SingleByteDecoderBuilder;

    struct Utf8Form {
        char bytes[3];
        std::uint8_t length;
    };

    SingleByteDecoder();

    std::array<Utf8Form, 256> mForms;  // by byte; the lower half is ASCII
};

}  // namespace veltrano::html
