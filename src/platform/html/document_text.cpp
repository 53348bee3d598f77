#include "platform/html/document_text.h"

#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/failure.h"
#include "platform/file_system.h"
#include "platform/html/encoding_sniffer.h"
#include "platform/html/parser/text_store.h"
#include "platform/html/text_decoder.h"
#include "platform/html/utf8_decoder.h"

namespace veltrano::html {
namespace {

constexpr std::size_t kPieceBytes = std::size_t{1} << 20;
// Room kept ahead of each piece for the bytes of a character cut off by the previous one.
constexpr std::size_t kCarryRoom = 8;

// The file's bytes in pieces, each preceded by what the decoder left of the one before.
class PieceReader final {
public:
    explicit PieceReader(platform::FileReader& file)
        : mFile(file), mBuffer(kCarryRoom + kPieceBytes) {}

    // Fills the buffer after the carried bytes; at least kPrescanLength bytes unless the file
    // ends first, so that the first piece holds what the prescan looks at.
    std::string_view next() {
        std::size_t filled = 0;
        while (filled < kPrescanLength) {
            const std::size_t got = mFile.read(
                std::span<char>(mBuffer).subspan(kCarryRoom + filled, kPieceBytes - filled));
            if (got == 0) {
                mAtEnd = true;
                break;
            }
            filled += got;
        }
        mDone += filled;
        return {mBuffer.data() + kCarryRoom - mCarried, mCarried + filled};
    }
    // Keeps the last count bytes of the piece just read for the front of the next.
    void carry(std::string_view piece, std::size_t count) {
        std::memmove(mBuffer.data() + kCarryRoom - count, piece.data() + piece.size() - count,
                     count);
        mCarried = count;
    }
    bool atEnd() const { return mAtEnd; }
    std::uint64_t done() const { return mDone; }
    void rewind() {
        mFile.rewind();
        mCarried = 0;
        mDone = 0;
        mAtEnd = false;
    }

private:
    platform::FileReader& mFile;
    std::vector<char> mBuffer;
    std::size_t mCarried = 0;
    std::uint64_t mDone = 0;
    bool mAtEnd = false;
};

void checkSize(const std::string& text) {
    if (text.size() > parser::TextStore::kMaximumInputBytes) {
        throw Failure("The document is too large: its text takes more than 2 GB.");
    }
}

// Decodes the rest of the file in a known encoding, starting with a piece already read.
void decodeAll(PieceReader& reader, std::string_view piece, Encoding encoding, std::string& text,
               ReadingProgress& progress, std::uint64_t total) {
    StreamDecoder decoder(encoding);
    bool afterCr = false;
    for (;;) {
        const bool last = reader.atEnd();
        const std::size_t from = text.size();
        const std::size_t left = decoder.decode(piece, last, text);
        normalizeNewlines(text, from, afterCr);
        checkSize(text);
        progress.bytesRead(reader.done(), total);
        if (last) {
            return;
        }
        reader.carry(piece, left);
        piece = reader.next();
    }
}

// Whether the bytes are the start of a UTF-8 character that the next piece may complete.
bool isCutOffCharacter(std::string_view bytes) {
    std::string ignored;
    return bytes.size() <= 3 && decodeUtf8(bytes, ignored, false) == bytes.size();
}

// Takes pieces as UTF-8 while they are valid; false (with text cleared) at the first byte that
// is not, which makes the whole file windows-1252.
bool takeAsUtf8(PieceReader& reader, std::string_view piece, std::string& text,
                ReadingProgress& progress, std::uint64_t total) {
    bool afterCr = false;
    for (;;) {
        const bool last = reader.atEnd();
        const std::size_t valid = validUtf8PrefixLength(piece);
        if (valid < piece.size() && (last || !isCutOffCharacter(piece.substr(valid)))) {
            text.clear();
            return false;
        }
        const std::size_t from = text.size();
        text.append(piece.substr(0, valid));
        normalizeNewlines(text, from, afterCr);
        checkSize(text);
        progress.bytesRead(reader.done(), total);
        if (last) {
            return true;
        }
        reader.carry(piece, piece.size() - valid);
        piece = reader.next();
    }
}

}  // namespace

Encoding readDocumentText(platform::FileReader& file, std::string& text,
                          ReadingProgress& progress) {
    const std::uint64_t total = file.size();
    text.clear();
    // Most documents decode to about their size; the rest grow the text as they go.
    text.reserve(static_cast<std::size_t>(
        std::min<std::uint64_t>(total, parser::TextStore::kMaximumInputBytes)));
    PieceReader reader(file);
    std::string_view piece = reader.next();
    std::optional<Encoding> encoding;
    if (const std::optional<ByteOrderMark> mark = sniffByteOrderMark(piece)) {
        piece.remove_prefix(mark->length);
        encoding = mark->encoding;
    } else {
        encoding = prescanForEncoding(piece);
    }
    if (encoding) {
        decodeAll(reader, piece, *encoding, text, progress, total);
        return *encoding;
    }
    if (takeAsUtf8(reader, piece, text, progress, total)) {
        return Encoding::Utf8;
    }
    reader.rewind();
    decodeAll(reader, reader.next(), Encoding::Windows1252, text, progress, total);
    return Encoding::Windows1252;
}

void normalizeNewlines(std::string& text, std::size_t from, bool& afterCr) {
    if (from == text.size()) {
        return;
    }
    char* const begin = text.data();
    char* read = begin + from;
    char* const end = begin + text.size();
    if (afterCr && *read == '\n') {
        ++read;
    }
    afterCr = false;
    char* found = static_cast<char*>(std::memchr(read, '\r', static_cast<std::size_t>(end - read)));
    if (found == nullptr) {
        if (read != begin + from) {
            text.erase(from, 1);
        }
        return;
    }
    // Everything before the first CR stays where it is; from there on the text moves down by
    // one byte for each CR LF.
    char* write = begin + from;
    while (found != nullptr) {
        const auto run = static_cast<std::size_t>(found - read);
        std::memmove(write, read, run);
        write += run;
        *write++ = '\n';
        read = found + 1;
        if (read == end) {
            afterCr = true;
        } else if (*read == '\n') {
            ++read;
        }
        found = static_cast<char*>(std::memchr(read, '\r', static_cast<std::size_t>(end - read)));
    }
    const auto rest = static_cast<std::size_t>(end - read);
    std::memmove(write, read, rest);
    write += rest;
    text.resize(static_cast<std::size_t>(write - begin));
}

}  // namespace veltrano::html
