// The decoders and the encoding sniffer. The first byte picks an encoding, the second where the
// bytes are cut in two; decoding in two pieces must give what decoding at once gives (a
// document is read piece by piece), and every output must be valid UTF-8.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "platform/html/encoding.h"
#include "platform/html/encoding_sniffer.h"
#include "platform/html/text_decoder.h"
#include "platform/html/utf8_decoder.h"

using veltrano::fuzz::require;
namespace html = veltrano::html;

namespace {

// Every encoding but x-user-defined, which the prescan turns into windows-1252 before any
// decoder sees it.
constexpr int kDecodedEncodings = static_cast<int>(html::Encoding::XUserDefined);

std::string decodeInTwoPieces(html::Encoding encoding, std::string_view bytes, std::size_t cut) {
    html::StreamDecoder decoder(encoding);
    std::string out;
    const std::size_t left = decoder.decode(bytes.substr(0, cut), false, out);
    require(left <= cut, "the bytes left over were given");
    decoder.decode(bytes.substr(cut - left), true, out);
    return out;
}

void checkSniffer(std::string_view bytes) {
    if (const auto mark = html::sniffByteOrderMark(bytes)) {
        require(mark->length <= bytes.size(), "a byte order mark lies inside the bytes");
    }
    html::prescanForEncoding(bytes);
    // A label that names an encoding names it again by the encoding's own name.
    if (const std::optional<html::Encoding> labelled = html::encodingForLabel(bytes)) {
        require(html::encodingForLabel(html::encodingName(*labelled)) == labelled,
                "an encoding's name is one of its labels");
    }
    const html::DecodedText decoded = html::decodeHtmlBytes(bytes);
    require(html::isValidUtf8(decoded.utf8), "a decoded document is valid UTF-8");
    require(html::encodingForLabel(decoded.encoding).has_value(), "the encoding used has a name");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const auto encoding = static_cast<html::Encoding>(data[0] % kDecodedEncodings);
    const std::string_view bytes = veltrano::fuzz::bytesOf(data + 2, size - 2);
    const std::size_t cut = data[1] % (bytes.size() + 1);

    std::string whole;
    html::StreamDecoder(encoding).decode(bytes, true, whole);
    require(html::isValidUtf8(whole), "decoded text is valid UTF-8");
    require(decodeInTwoPieces(encoding, bytes, cut) == whole,
            "two pieces decode as the whole bytes do");

    checkSniffer(bytes);
    return 0;
}
