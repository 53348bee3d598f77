#include "platform/html/utf16_decoder.h"

#include "platform/html/utf8_writer.h"

namespace veltrano::html {
namespace {

bool isLeadSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isTrailSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::size_t decodeUtf16(std::string_view bytes, ByteOrder order, std::string& out, bool last) {
    const auto unitAt = [&](std::size_t index) {
        const auto first = static_cast<unsigned char>(bytes[2 * index]);
        const auto second = static_cast<unsigned char>(bytes[2 * index + 1]);
        return order == ByteOrder::BigEndian ? char32_t{first} << 8 | second
                                             : char32_t{second} << 8 | first;
    };
    std::size_t pending = 0;
    if (!last) {
        pending = bytes.size() % 2;
        const std::size_t units = bytes.size() / 2;
        if (units > 0 && isLeadSurrogate(unitAt(units - 1))) {
            pending += 2;
        }
        bytes.remove_suffix(pending);
    }
    const std::size_t unitCount = bytes.size() / 2;
    out.reserve(out.size() + bytes.size() * 3 / 2);
    for (std::size_t index = 0; index < unitCount; ++index) {
        const char32_t unit = unitAt(index);
        if (isLeadSurrogate(unit) && index + 1 < unitCount && isTrailSurrogate(unitAt(index + 1))) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(index + 1) - 0xDC00));
            ++index;
        } else if (isLeadSurrogate(unit) && index + 1 == unitCount && bytes.size() % 2 != 0) {
            // A lead surrogate cut off by the end: one U+FFFD for it and the lone last byte.
        } else if (isLeadSurrogate(unit) || isTrailSurrogate(unit)) {
            appendUtf8(out, kReplacementCharacter);
        } else {
            appendUtf8(out, unit);
        }
    }
    if (bytes.size() % 2 != 0) {
        appendUtf8(out, kReplacementCharacter);
    }
    return pending;
}

}  // namespace veltrano::html
