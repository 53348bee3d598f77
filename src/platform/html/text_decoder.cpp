#include "platform/html/text_decoder.h"

#include "platform/html/encoding_sniffer.h"
#include "platform/html/single_byte_decoder.h"
#include "platform/html/utf16_decoder.h"
#include "platform/html/utf8_decoder.h"
#include "platform/html/utf8_writer.h"

namespace veltrano::html {

StreamDecoder::StreamDecoder(Encoding encoding)
    : mEncoding(encoding), mSingleByte(SingleByteDecoder::forEncoding(encoding)) {}

std::size_t StreamDecoder::decode(std::string_view bytes, bool last, std::string& out) {
    if (mSingleByte != nullptr) {
        mSingleByte->decode(bytes, out);
        return 0;
    }
    switch (mEncoding) {
        case Encoding::Utf16Be:
            return decodeUtf16(bytes, ByteOrder::BigEndian, out, last);
        case Encoding::Utf16Le:
            return decodeUtf16(bytes, ByteOrder::LittleEndian, out, last);
        case Encoding::ShiftJis:
            return decodeShiftJis(bytes, out, last);
        case Encoding::EucJp:
            return decodeEucJp(bytes, out, last);
        case Encoding::Iso2022Jp:
            return decodeIso2022Jp(bytes, out, last, mIso2022Jp);
        case Encoding::EucKr:
            return decodeEucKr(bytes, out, last);
        case Encoding::Big5:
            return decodeBig5(bytes, out, last);
        case Encoding::Gbk:
        case Encoding::Gb18030:
            return decodeGb18030(bytes, out, last);
        case Encoding::Replacement:
            // The whole document is one error: these encodings could smuggle markup past
            // filters, so browsers refuse to decode them.
            if (!bytes.empty() && !mReplacementWritten) {
                appendUtf8(out, kReplacementCharacter);
                mReplacementWritten = true;
            }
            return 0;
        default:
            // UTF-8. x-user-defined never gets here: the prescan turns it into windows-1252.
            return decodeUtf8(bytes, out, last);
    }
}

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
    StreamDecoder(encoding).decode(bytes, true, text.utf8);
    return text;
}

}  // namespace veltrano::html
