#include "platform/html/single_byte_decoder.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <span>

#include "platform/html/ascii_block.h"
#include "platform/html/icu_code_lookup.h"
#include "platform/html/utf8_writer.h"

namespace veltrano::html {
namespace {

// A byte browsers read differently from ICU's converter; kReplacementCharacter where they
// treat the byte as unmapped.
struct ByteOverride {
    unsigned char byte;
    char32_t codePoint;
};

// ICU maps these to private-use characters.
constexpr ByteOverride kWindows874Overrides[] = {
    {0xDB, kReplacementCharacter}, {0xDC, kReplacementCharacter}, {0xDD, kReplacementCharacter},
    {0xDE, kReplacementCharacter}, {0xFC, kReplacementCharacter}, {0xFD, kReplacementCharacter},
    {0xFE, kReplacementCharacter}, {0xFF, kReplacementCharacter}};
constexpr ByteOverride kWindows1253Overrides[] = {{0xAA, kReplacementCharacter}};
constexpr ByteOverride kWindows1255Overrides[] = {{0xCA, 0x05BA}};
// Browsers' KOI8-U has the Belarusian short U where ICU has box drawing characters.
constexpr ByteOverride kKoi8UOverrides[] = {{0xAE, 0x045E}, {0xBE, 0x040E}};
// ICU has no ISO-8859-16: it is Latin-1 with these letters and signs replaced.
constexpr ByteOverride kIso8859_16Overrides[] = {
    {0xA1, 0x0104}, {0xA2, 0x0105}, {0xA3, 0x0141}, {0xA4, 0x20AC}, {0xA5, 0x201E}, {0xA6, 0x0160},
    {0xA8, 0x0161}, {0xAA, 0x0218}, {0xAC, 0x0179}, {0xAE, 0x017A}, {0xAF, 0x017B}, {0xB2, 0x010C},
    {0xB3, 0x0142}, {0xB4, 0x017D}, {0xB5, 0x201D}, {0xB8, 0x017E}, {0xB9, 0x010D}, {0xBA, 0x0219},
    {0xBC, 0x0152}, {0xBD, 0x0153}, {0xBE, 0x0178}, {0xBF, 0x017C}, {0xC3, 0x0102}, {0xC5, 0x0106},
    {0xD0, 0x0110}, {0xD1, 0x0143}, {0xD5, 0x0150}, {0xD7, 0x015A}, {0xD8, 0x0170}, {0xDD, 0x0118},
    {0xDE, 0x021A}, {0xE3, 0x0103}, {0xE5, 0x0107}, {0xF0, 0x0111}, {0xF1, 0x0144}, {0xF5, 0x0151},
    {0xF7, 0x015B}, {0xF8, 0x0171}, {0xFD, 0x0119}, {0xFE, 0x021B}};

struct TableSource {
    Encoding encoding;
    const char* icuConverter;
    std::span<const ByteOverride> overrides;
};

// ICU's converters were compared byte by byte with the browsers' tables; the ones not listed
// with overrides agree on all 128 upper bytes (the lower half is ASCII everywhere, which also
// keeps ICU's IBM866 from moving the controls 0x1A, 0x1C and 0x7F).
constexpr TableSource kTableSources[] = {
    {Encoding::Ibm866, "IBM866", {}},
    {Encoding::Iso8859_2, "ISO-8859-2", {}},
    {Encoding::Iso8859_3, "ISO-8859-3", {}},
    {Encoding::Iso8859_4, "ISO-8859-4", {}},
    {Encoding::Iso8859_5, "ISO-8859-5", {}},
    {Encoding::Iso8859_6, "ISO-8859-6", {}},
    {Encoding::Iso8859_7, "ISO-8859-7", {}},
    {Encoding::Iso8859_8, "ISO-8859-8", {}},
    {Encoding::Iso8859_8I, "ISO-8859-8", {}},
    {Encoding::Iso8859_10, "ISO-8859-10", {}},
    {Encoding::Iso8859_13, "ISO-8859-13", {}},
    {Encoding::Iso8859_14, "ISO-8859-14", {}},
    {Encoding::Iso8859_15, "ISO-8859-15", {}},
    {Encoding::Iso8859_16, "ISO-8859-1", kIso8859_16Overrides},
    {Encoding::Koi8R, "KOI8-R", {}},
    {Encoding::Koi8U, "KOI8-U", kKoi8UOverrides},
    {Encoding::Macintosh, "macintosh", {}},
    {Encoding::Windows874, "windows-874", kWindows874Overrides},
    {Encoding::Windows1250, "windows-1250", {}},
    {Encoding::Windows1251, "windows-1251", {}},
    {Encoding::Windows1252, "windows-1252", {}},
    {Encoding::Windows1253, "windows-1253", kWindows1253Overrides},
    {Encoding::Windows1254, "windows-1254", {}},
    {Encoding::Windows1255, "windows-1255", kWindows1255Overrides},
    {Encoding::Windows1256, "windows-1256", {}},
    {Encoding::Windows1257, "windows-1257", {}},
    {Encoding::Windows1258, "windows-1258", {}},
    {Encoding::XMacCyrillic, "x-mac-cyrillic", {}},
};

constexpr std::size_t kTableCount = std::size(kTableSources);

}  // namespace

class SingleByteDecoderBuilder final {
public:
    static std::unique_ptr<SingleByteDecoder> build(const TableSource& source) {
        std::unique_ptr<SingleByteDecoder> decoder(new SingleByteDecoder());
        IcuCodeLookup lookup(source.icuConverter);
        for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
            const char input = static_cast<char>(byte);
            const char32_t codePoint =
                lookup.decode(std::string_view(&input, 1)).value_or(kReplacementCharacter);
            store(*decoder, byte, codePoint);
        }
        for (const ByteOverride& entry : source.overrides) {
            store(*decoder, entry.byte, entry.codePoint);
        }
        return decoder;
    }

private:
    static void store(SingleByteDecoder& decoder, unsigned byte, char32_t codePoint) {
        std::string utf8;
        appendUtf8(utf8, codePoint);
        SingleByteDecoder::Utf8Form& form = decoder.mForms[byte];
        std::memcpy(form.bytes, utf8.data(), utf8.size());
        form.length = static_cast<std::uint8_t>(utf8.size());
    }
};

const SingleByteDecoder* SingleByteDecoder::forEncoding(Encoding encoding) {
    static std::mutex mutex;
    static std::array<std::unique_ptr<SingleByteDecoder>, kTableCount> decoders;
    for (std::size_t index = 0; index < kTableCount; ++index) {
        if (kTableSources[index].encoding == encoding) {
            std::lock_guard lock(mutex);
            if (!decoders[index]) {
                decoders[index] = SingleByteDecoderBuilder::build(kTableSources[index]);
            }
            return decoders[index].get();
        }
    }
    return nullptr;
}

SingleByteDecoder::SingleByteDecoder() {
    for (unsigned byte = 0; byte < 0x80; ++byte) {
        mForms[byte] = {{static_cast<char>(byte), 0, 0}, 1};
    }
}

void SingleByteDecoder::decode(std::string_view bytes, std::string& out) const {
    const auto* input = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    // Sized exactly first, so that a large document is written once into its final buffer.
    std::size_t decodedSize = 0;
    for (std::size_t position = 0; position < size; ++position) {
        decodedSize += mForms[input[position]].length;
    }
    const std::size_t start = out.size();
    // Two spare bytes: every form is written as three bytes and then cut short.
    out.resize(start + decodedSize + 2);
    char* output = out.data() + start;
    for (std::size_t position = 0; position < size;) {
        if (size - position >= kAsciiBlockSize && isAsciiBlock(input + position)) {
            std::memcpy(output, input + position, kAsciiBlockSize);
            output += kAsciiBlockSize;
            position += kAsciiBlockSize;
            continue;
        }
        const std::size_t blockEnd = std::min(size, position + kAsciiBlockSize);
        for (; position < blockEnd; ++position) {
            const Utf8Form& form = mForms[input[position]];
            std::memcpy(output, form.bytes, 3);
            output += form.length;
        }
    }
    out.resize(start + decodedSize);
}

}  // namespace veltrano::html
