#include "platform/html/utf8_decoder.h"

#include "platform/html/ascii_block.h"
#include "platform/html/utf8_writer.h"

namespace veltrano::html {
namespace {

struct SequenceCheck {
    std::size_t length;  // bytes that belong to the sequence so far (at least 1)
    bool complete;       // false: ill-formed or cut off, the length bytes become one U+FFFD
};

// How far the sequence led by the non-ASCII byte at bytes[0] runs well-formed.
SequenceCheck checkSequence(const unsigned char* bytes, std::size_t available) {
    const unsigned char lead = bytes[0];
    std::size_t trailCount = 0;
    // The second byte's range is narrower after some leads: that is what rules out overlong
    // forms, surrogates and values past U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trailCount = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trailCount = 2;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trailCount = 3;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {1, false};
    }
    std::size_t length = 1;
    for (; length <= trailCount; ++length) {
        if (length == available || bytes[length] < low || bytes[length] > high) {
            return {length, false};
        }
        low = 0x80;
        high = 0xBF;
    }
    return {length, true};
}

}  // namespace

std::size_t validUtf8PrefixLength(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t position = 0;
    while (position < size) {
        if (size - position >= kAsciiBlockSize && isAsciiBlock(bytes + position)) {
            position += kAsciiBlockSize;
        } else if (bytes[position] < 0x80) {
            ++position;
        } else {
            const SequenceCheck check = checkSequence(bytes + position, size - position);
            if (!check.complete) {
                return position;
            }
            position += check.length;
        }
    }
    return size;
}

bool isValidUtf8(std::string_view bytes) {
    return validUtf8PrefixLength(bytes) == bytes.size();
}

std::size_t decodeUtf8(std::string_view bytes, std::string& out, bool last) {
    out.reserve(out.size() + bytes.size());
    for (;;) {
        const std::size_t valid = validUtf8PrefixLength(bytes);
        out.append(bytes.substr(0, valid));
        bytes.remove_prefix(valid);
        if (bytes.empty()) {
            return 0;
        }
        const SequenceCheck check =
            checkSequence(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        if (!last && check.length == bytes.size()) {
            return bytes.size();
        }
        appendUtf8(out, kReplacementCharacter);
        bytes.remove_prefix(check.length);
    }
}

}  // namespace veltrano::html
