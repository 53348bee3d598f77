#include "platform/html/multi_byte_decoder.h"

#include <cstddef>
#include <utility>

#include "platform/html/ascii_block.h"
#include "platform/html/code_table.h"
#include "platform/html/utf8_writer.h"

namespace veltrano::html {
namespace {

bool inRange(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

// Walks the input for a decoder: skips ASCII in blocks while no character is half read, and
// lets the decoder read a byte again after a failed character.
class ByteCursor final {
public:
    ByteCursor(std::string_view bytes, std::string& out) : mBytes(bytes), mOut(out) {
        // Most text grows by half at most (two bytes become three); more just reallocates.
        mOut.reserve(mOut.size() + bytes.size() + bytes.size() / 2);
    }

    bool atEnd() const { return mPosition == mBytes.size(); }

    // Copies a block of ASCII to the output if one starts here; the caller must not be in the
    // middle of a character.
    bool copyAsciiBlock() {
        if (mBytes.size() - mPosition < kAsciiBlockSize ||
            !isAsciiBlock(reinterpret_cast<const unsigned char*>(mBytes.data()) + mPosition)) {
            return false;
        }
        mOut.append(mBytes.substr(mPosition, kAsciiBlockSize));
        mPosition += kAsciiBlockSize;
        return true;
    }

    unsigned char next() { return static_cast<unsigned char>(mBytes[mPosition++]); }

    // Makes the last count bytes read be read again.
    void unread(std::size_t count) { mPosition -= count; }

    void emit(char32_t codePoint) { appendUtf8(mOut, codePoint); }
    void emitError() { appendUtf8(mOut, kReplacementCharacter); }
    // Emits codePoint, or U+FFFD where there is none (0).
    void emitOrError(char32_t codePoint) { codePoint != 0 ? emit(codePoint) : emitError(); }

    // Ends a character whose last byte, just read, did not complete it: an ASCII byte is read
    // again on its own, so a broken character never swallows the markup after it.
    void rejectLastByte(unsigned char byte) {
        emitError();
        if (byte < 0x80) {
            unread(1);
        }
    }

    // A two-byte character's code point, or, when it has none, rejectLastByte.
    void emitOrRejectLastByte(char32_t codePoint, unsigned char byte) {
        if (codePoint != 0) {
            emit(codePoint);
        } else {
            rejectLastByte(byte);
        }
    }

private:
    std::string_view mBytes;
    std::string& mOut;
    std::size_t mPosition = 0;
};

// Emits the character at pointer; false when the table has none.
bool emitFromTable(const CodeTable& table, std::size_t pointer, ByteCursor& cursor) {
    const char32_t codePoint = table.at(pointer);
    if (codePoint == 0) {
        return false;
    }
    cursor.emit(codePoint);
    return true;
}

// Shift_JIS, EUC-KR and Big5 share one shape: a character is one byte, or a lead byte and a
// trail byte. A Scheme says which bytes lead, what a single byte is, and appends the
// character of a pair (false when there is none).
template <class Scheme>
std::size_t decodeLeadTrail(std::string_view bytes, std::string& out, bool last,
                            const Scheme& scheme) {
    ByteCursor cursor(bytes, out);
    unsigned char lead = 0;
    while (!cursor.atEnd()) {
        if (lead == 0 && cursor.copyAsciiBlock()) {
            continue;
        }
        const unsigned char byte = cursor.next();
        if (lead != 0) {
            if (!scheme.emitPair(std::exchange(lead, 0), byte, cursor)) {
                cursor.rejectLastByte(byte);
            }
        } else if (scheme.isLead(byte)) {
            lead = byte;
        } else {
            cursor.emit(scheme.single(byte));
        }
    }
    if (lead != 0 && !last) {
        return 1;
    }
    if (lead != 0) {
        cursor.emitError();
    }
    return 0;
}

class ShiftJisScheme final {
public:
    bool isLead(unsigned char byte) const {
        return inRange(byte, 0x81, 0x9F) || inRange(byte, 0xE0, 0xFC);
    }
    char32_t single(unsigned char byte) const {
        if (byte <= 0x80) {
            return byte;
        }
        // Half-width katakana.
        return inRange(byte, 0xA1, 0xDF) ? 0xFF61 - 0xA1 + byte : kReplacementCharacter;
    }
    bool emitPair(unsigned char lead, unsigned char trail, ByteCursor& cursor) const {
        if (!inRange(trail, 0x40, 0x7E) && !inRange(trail, 0x80, 0xFC)) {
            return false;
        }
        const std::size_t pointer =
            (lead - (lead < 0xA0 ? 0x81 : 0xC1)) * 188u + trail - (trail < 0x7F ? 0x40 : 0x41);
        return emitFromTable(mJis0208, pointer, cursor);
    }

private:
    const CodeTable& mJis0208 = CodeTable::forSet(CharacterSet::Jis0208);
};

class EucKrScheme final {
public:
    bool isLead(unsigned char byte) const { return inRange(byte, 0x81, 0xFE); }
    char32_t single(unsigned char byte) const { return byte < 0x80 ? byte : kReplacementCharacter; }
    bool emitPair(unsigned char lead, unsigned char trail, ByteCursor& cursor) const {
        return inRange(trail, 0x41, 0xFE) &&
               emitFromTable(mTable, (lead - 0x81) * 190u + trail - 0x41, cursor);
    }

private:
    const CodeTable& mTable = CodeTable::forSet(CharacterSet::EucKr);
};

class Big5Scheme final {
public:
    bool isLead(unsigned char byte) const { return inRange(byte, 0x81, 0xFE); }
    char32_t single(unsigned char byte) const { return byte < 0x80 ? byte : kReplacementCharacter; }
    bool emitPair(unsigned char lead, unsigned char trail, ByteCursor& cursor) const {
        if (!inRange(trail, 0x40, 0x7E) && !inRange(trail, 0xA1, 0xFE)) {
            return false;
        }
        const std::size_t pointer = (lead - 0x81) * 157u + trail - (trail < 0x7F ? 0x40 : 0x62);
        // Four Hong Kong characters are a letter with a combining mark.
        switch (pointer) {
            case 1133:
                return emitTwo(0x00CA, 0x0304, cursor);
            case 1135:
                return emitTwo(0x00CA, 0x030C, cursor);
            case 1164:
                return emitTwo(0x00EA, 0x0304, cursor);
            case 1166:
                return emitTwo(0x00EA, 0x030C, cursor);
            default:
                return emitFromTable(mTable, pointer, cursor);
        }
    }

private:
    static bool emitTwo(char32_t first, char32_t second, ByteCursor& cursor) {
        cursor.emit(first);
        cursor.emit(second);
        return true;
    }

    const CodeTable& mTable = CodeTable::forSet(CharacterSet::Big5);
};

}  // namespace

std::size_t decodeShiftJis(std::string_view bytes, std::string& out, bool last) {
    return decodeLeadTrail(bytes, out, last, ShiftJisScheme());
}

std::size_t decodeEucKr(std::string_view bytes, std::string& out, bool last) {
    return decodeLeadTrail(bytes, out, last, EucKrScheme());
}

std::size_t decodeBig5(std::string_view bytes, std::string& out, bool last) {
    return decodeLeadTrail(bytes, out, last, Big5Scheme());
}

std::size_t decodeEucJp(std::string_view bytes, std::string& out, bool last) {
    const CodeTable& jis0208 = CodeTable::forSet(CharacterSet::Jis0208);
    const CodeTable& jis0212 = CodeTable::forSet(CharacterSet::Jis0212);
    ByteCursor cursor(bytes, out);
    unsigned char lead = 0;
    bool fromJis0212 = false;  // the pair being read followed 0x8F
    while (!cursor.atEnd()) {
        if (lead == 0 && cursor.copyAsciiBlock()) {
            continue;
        }
        const unsigned char byte = cursor.next();
        if (lead == 0x8E && inRange(byte, 0xA1, 0xDF)) {
            lead = 0;
            cursor.emit(0xFF61 - 0xA1 + byte);
        } else if (lead == 0x8F && inRange(byte, 0xA1, 0xFE)) {
            fromJis0212 = true;
            lead = byte;
        } else if (lead != 0) {
            char32_t codePoint = 0;
            if (inRange(lead, 0xA1, 0xFE) && inRange(byte, 0xA1, 0xFE)) {
                const std::size_t pointer = (lead - 0xA1) * 94u + byte - 0xA1;
                codePoint = (fromJis0212 ? jis0212 : jis0208).at(pointer);
            }
            lead = 0;
            fromJis0212 = false;
            cursor.emitOrRejectLastByte(codePoint, byte);
        } else if (byte < 0x80) {
            cursor.emit(byte);
        } else if (byte == 0x8E || byte == 0x8F || inRange(byte, 0xA1, 0xFE)) {
            lead = byte;
        } else {
            cursor.emitError();
        }
    }
    if (lead != 0 && !last) {
        return fromJis0212 ? 2 : 1;
    }
    if (lead != 0) {
        cursor.emitError();
    }
    return 0;
}

std::size_t decodeGb18030(std::string_view bytes, std::string& out, bool last) {
    const CodeTable& twoByte = CodeTable::forSet(CharacterSet::Gb18030);
    const CodeTable& fourByte = CodeTable::forSet(CharacterSet::Gb18030FourByte);
    ByteCursor cursor(bytes, out);
    // The bytes of a character read so far: a four-byte one is lead, digit, lead, digit.
    unsigned char first = 0;
    unsigned char second = 0;
    unsigned char third = 0;
    while (!cursor.atEnd()) {
        if (first == 0 && cursor.copyAsciiBlock()) {
            continue;
        }
        const unsigned char byte = cursor.next();
        if (third != 0) {
            if (inRange(byte, 0x30, 0x39)) {
                const std::size_t pointer =
                    (((first - 0x81) * 10u + second - 0x30) * 126u + third - 0x81) * 10u + byte -
                    0x30;
                char32_t codePoint = fourByte.at(pointer);
                if (pointer >= 189000 && pointer <= 1237575) {
                    codePoint = 0x10000 + pointer - 189000;
                }
                cursor.emitOrError(codePoint);
            } else {
                cursor.emitError();
                cursor.unread(3);
            }
            first = second = third = 0;
        } else if (second != 0) {
            if (inRange(byte, 0x81, 0xFE)) {
                third = byte;
            } else {
                cursor.emitError();
                cursor.unread(2);
                first = second = 0;
            }
        } else if (first != 0) {
            if (inRange(byte, 0x30, 0x39)) {
                second = byte;
                continue;
            }
            char32_t codePoint = 0;
            if (inRange(byte, 0x40, 0x7E) || inRange(byte, 0x80, 0xFE)) {
                codePoint = twoByte.at((first - 0x81) * 190u + byte - (byte < 0x7F ? 0x40 : 0x41));
            }
            first = 0;
            cursor.emitOrRejectLastByte(codePoint, byte);
        } else if (byte < 0x80) {
            cursor.emit(byte);
        } else if (byte == 0x80) {
            cursor.emit(0x20AC);
        } else if (byte != 0xFF) {
            first = byte;
        } else {
            cursor.emitError();
        }
    }
    if (first != 0 && !last) {
        return third != 0 ? 3 : (second != 0 ? 2 : 1);
    }
    if (first != 0) {
        cursor.emitError();
    }
    return 0;
}

std::size_t decodeIso2022Jp(std::string_view bytes, std::string& out, bool last) {
    Iso2022JpState state;
    return decodeIso2022Jp(bytes, out, last, state);
}

std::size_t decodeIso2022Jp(std::string_view bytes, std::string& out, bool last,
                            Iso2022JpState& saved) {
    enum class State : std::uint8_t {
        Ascii,
        Roman,
        Katakana,
        LeadByte,
        TrailByte,
        EscapeStart,
        Escape
    };
    const CodeTable& jis0208 = CodeTable::forSet(CharacterSet::Jis0208);
    ByteCursor cursor(bytes, out);
    State outputState = static_cast<State>(saved.output);
    State state = outputState;
    unsigned char lead = 0;
    // Set by an escape sequence, cleared by any character: two escapes in a row are an error.
    bool afterEscape = saved.afterEscape;
    for (;;) {
        const bool atEnd = cursor.atEnd();
        if (atEnd && !last) {
            // A sequence cut off by the end is read again from its start with the next piece,
            // in the state it started in.
            saved = {static_cast<std::uint8_t>(outputState), afterEscape};
            switch (state) {
                case State::TrailByte:
                case State::EscapeStart:
                    return 1;
                case State::Escape:
                    return 2;
                default:
                    return 0;
            }
        }
        if (atEnd && state != State::TrailByte && state != State::EscapeStart &&
            state != State::Escape) {
            return 0;
        }
        const unsigned char byte = atEnd ? 0 : cursor.next();
        if (byte == 0x1B && !atEnd && state != State::EscapeStart && state != State::Escape) {
            if (state == State::TrailByte) {
                cursor.emitError();
            }
            state = State::EscapeStart;
            continue;
        }
        switch (state) {
            case State::Ascii:
            case State::Roman:
                afterEscape = false;
                if (byte > 0x7F || byte == 0x0E || byte == 0x0F) {
                    cursor.emitError();
                } else if (state == State::Roman && byte == 0x5C) {
                    cursor.emit(0x00A5);
                } else if (state == State::Roman && byte == 0x7E) {
                    cursor.emit(0x203E);
                } else {
                    cursor.emit(byte);
                }
                break;
            case State::Katakana:
                afterEscape = false;
                cursor.emitOrError(inRange(byte, 0x21, 0x5F) ? 0xFF61 - 0x21 + byte : 0);
                break;
            case State::LeadByte:
                afterEscape = false;
                if (inRange(byte, 0x21, 0x7E)) {
                    lead = byte;
                    state = State::TrailByte;
                } else {
                    cursor.emitError();
                }
                break;
            case State::TrailByte: {
                state = State::LeadByte;
                const char32_t codePoint = atEnd || !inRange(byte, 0x21, 0x7E)
                                               ? 0
                                               : jis0208.at((lead - 0x21) * 94u + byte - 0x21);
                cursor.emitOrError(codePoint);
                break;
            }
            case State::EscapeStart:
                if (!atEnd && (byte == 0x24 || byte == 0x28)) {
                    lead = byte;
                    state = State::Escape;
                } else {
                    cursor.unread(atEnd ? 0 : 1);
                    afterEscape = false;
                    state = outputState;
                    cursor.emitError();
                }
                break;
            case State::Escape: {
                State chosen = State::Escape;
                if (lead == 0x28 && byte == 0x42) {
                    chosen = State::Ascii;
                } else if (lead == 0x28 && byte == 0x4A) {
                    chosen = State::Roman;
                } else if (lead == 0x28 && byte == 0x49) {
                    chosen = State::Katakana;
                } else if (lead == 0x24 && (byte == 0x40 || byte == 0x42)) {
                    chosen = State::LeadByte;
                }
                if (!atEnd && chosen != State::Escape) {
                    state = outputState = chosen;
                    if (std::exchange(afterEscape, true)) {
                        cursor.emitError();
                    }
                } else {
                    // The lead ("$" or "(") and this byte are read again as text.
                    cursor.unread(atEnd ? 1 : 2);
                    afterEscape = false;
                    state = outputState;
                    cursor.emitError();
                }
                break;
            }
        }
    }
}

}  // namespace veltrano::html
