#include "platform/html/text_decoder.h"

#include "platform/html/encoding.h"
#include "platform/html/encoding_sniffer.h"
#include "platform/html/multi_byte_decoder.h"
#include "platform/html/single_byte_decoder.h"
#include "platform/html/utf16_decoder.h"
#include "platform/html/utf8_decoder.h"
#include "platform/html/utf8_writer.h"

namespace veltrano::html {
namespace {

void decode(std::string_view bytes, Encoding encoding, std::string& out) {
    if (const SingleByteDecoder* decoder = SingleByteDecoder::forEncoding(encoding)) {
        decoder->decode(bytes, out);
        return;
    }
    switch (encoding) {
        case Encoding::Utf16Be:
            return decodeUtf16(bytes, ByteOrder::BigEndian, out);
        case Encoding::Utf16Le:
            return decodeUtf16(bytes, ByteOrder::LittleEndian, out);
        case Encoding::ShiftJis:
            return decodeShiftJis(bytes, out);
        case Encoding::EucJp:
            return decodeEucJp(bytes, out);
        case Encoding::Iso2022Jp:
            return decodeIso2022Jp(bytes, out);
        case Encoding::EucKr:
            return decodeEucKr(bytes, out);
        case Encoding::Big5:
            return decodeBig5(bytes, out);
        case Encoding::Gbk:
        case Encoding::Gb18030:
            return decodeGb18030(bytes, out);
        case Encoding::Replacement:
            // The whole document is one error: these encodings could smuggle markup past
            // filters, so browsers refuse to decode them.
            if (!bytes.empty()) {
                appendUtf8(out, kReplacementCharacter);
            }
            return;
        default:
            // UTF-8. x-user-defined never gets here: the prescan turns it into windows-1252.
            return decodeUtf8(bytes, out);
    }
}

}  // namespace

DecodedText decodeHtmlBytes(std::string_view bytes) {
    DecodedText text;
    Encoding encoding = Encoding::Windows1252;
    if (std::optional<ByteOrderMark> mark = sniffByteOrderMark(bytes)) {
        bytes.remove_prefix(mark->length);
        encoding = mark->encoding;
    } else if (std::optional<Encoding> declared = prescanForEncoding(bytes)) {
        encoding = *declared;
    } else if (isValidUtf8(bytes)) {
        // Already checked: copied at memory speed without a second pass.
        text.utf8.assign(bytes);
        text.encoding = encodingName(Encoding::Utf8);
        return text;
    }
    text.encoding = encodingName(encoding);
    decode(bytes, encoding, text.utf8);
    return text;
}

}  // namespace veltrano::html
