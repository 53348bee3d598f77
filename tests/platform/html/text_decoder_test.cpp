#include "platform/html/text_decoder.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/html/encoding_sniffer.h"

namespace veltrano::html {
namespace {

using namespace std::string_literals;

struct DecodingRow {
    const char* name;
    std::string bytes;
    std::string expectedText;  // UTF-8
    const char* expectedEncoding;
};

// Files are decoded as they are read, a piece at a time: whatever the pieces, the text must be
// the one the whole file decodes to.
void expectSameTextInPieces(const DecodingRow& row) {
    std::string_view bytes = row.bytes;
    if (const std::optional<ByteOrderMark> mark = sniffByteOrderMark(bytes)) {
        bytes.remove_prefix(mark->length);
    }
    const Encoding encoding = encodingForLabel(row.expectedEncoding).value();
    for (std::size_t pieceSize = 1; pieceSize <= 5; ++pieceSize) {
        StreamDecoder decoder(encoding);
        std::string text;
        std::string unread;
        std::size_t at = 0;
        do {
            unread += bytes.substr(at, pieceSize);
            at += pieceSize;
            const std::size_t left = decoder.decode(unread, at >= bytes.size(), text);
            unread.erase(0, unread.size() - left);
        } while (at < bytes.size());
        EXPECT_EQ(text, row.expectedText) << "in pieces of " << pieceSize;
    }
}

void expectDecodes(const DecodingRow& row) {
    SCOPED_TRACE(row.name);
    const DecodedText decoded = decodeHtmlBytes(row.bytes);
    EXPECT_EQ(decoded.utf8, row.expectedText);
    EXPECT_EQ(decoded.encoding, row.expectedEncoding);
    expectSameTextInPieces(row);
}

TEST(TextDecoderTest, ChoosesTheEncoding) {
    const std::string koi8Meta = "<meta charset=\"koi8-r\">";
    const DecodingRow rows[] = {
        {"UTF-8 byte order mark",
         "\xEF\xBB\xBF"
         "a\xC3\xA9",
         "a\u00E9", "UTF-8"},
        {"UTF-16LE byte order mark",
         "\xFF\xFE"
         "a\0\xE9\0"s,
         "a\u00E9", "UTF-16LE"},
        {"UTF-16BE byte order mark", "\xFE\xFF\0a\0\xE9"s, "a\u00E9", "UTF-16BE"},
        {"byte order mark beats meta", "\xEF\xBB\xBF" + koi8Meta + "\xC3\xA9", koi8Meta + "\u00E9",
         "UTF-8"},
        {"meta charset", koi8Meta + "\xC1", koi8Meta + "\u0430", "KOI8-R"},
        {"meta http-equiv content",
         "<meta http-equiv=Content-Type content='text/html; charset=windows-1251'>\xC0",
         "<meta http-equiv=Content-Type content='text/html; charset=windows-1251'>\u0410",
         "windows-1251"},
        {"charset in a comment ignored", "<!-- " + koi8Meta + " -->\xC3\xA9",
         "<!-- " + koi8Meta + " -->\u00E9", "UTF-8"},
        {"meta past 1024 bytes unseen", std::string(1024, ' ') + koi8Meta + "\xC1",
         std::string(1024, ' ') + koi8Meta + "\u00C1", "windows-1252"},
        {"undeclared valid UTF-8", "<p>\xE2\x82\xAC</p>", "<p>\u20AC</p>", "UTF-8"},
        {"undeclared invalid UTF-8", "<p>caf\xE9</p>", "<p>caf\u00E9</p>", "windows-1252"},
        {"UTF-16 meta without byte order mark", "<meta charset=utf-16le>\xC3\xA9",
         "<meta charset=utf-16le>\u00E9", "UTF-8"},
        {"replacement encoding", "<meta charset=iso-2022-kr>abc", "\uFFFD", "replacement"},
        {"empty file", "", "", "UTF-8"},
        {"NUL and CR LF kept", "a\0b\r\nc\rd"s, "a\0b\r\nc\rd"s, "UTF-8"},
    };
    for (const DecodingRow& row : rows) {
        expectDecodes(row);
    }
}

TEST(TextDecoderTest, DecodesLegacyEncodings) {
    const auto declared = [](const char* label, const std::string& bytes) {
        return "<meta charset=" + std::string(label) + ">" + bytes;
    };
    const DecodingRow rows[] = {
        {"windows-1252 0x80-0x9F, undefined bytes kept as C1 controls",
         declared("windows-1252",
                  "\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F"
                  "\x90\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9D\x9E\x9F\xA0\xFF"),
         declared("windows-1252",
                  "\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039"
                  "\u0152\u008D\u017D\u008F\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014"
                  "\u02DC\u2122\u0161\u203A\u0153\u009D\u017E\u0178\u00A0\u00FF"),
         "windows-1252"},
        {"Shift_JIS 0x5C as trail byte, backslash and tilde",
         declared("shift_jis", "\x95\x5C\x94\x5C\x5C\x7E\xB1"),
         declared("shift_jis", "\u8868\u80FD\\~\uFF71"), "Shift_JIS"},
        {"Shift_JIS broken lead does not eat the next ASCII byte",
         declared("sjis", "\x81<p>\x82\x40"), declared("sjis", "\uFFFD<p>\uFFFD@"), "Shift_JIS"},
        {"KOI8-R", declared("koi8-r", "\xF0\xD2\xC9\xD7\xC5\xD4"),
         declared("koi8-r", "\u041F\u0440\u0438\u0432\u0435\u0442"), "KOI8-R"},
        {"KOI8-U short U", declared("koi8-u", "\xAE\xBE"), declared("koi8-u", "\u045E\u040E"),
         "KOI8-U"},
        {"ISO-8859-2", declared("latin2", "\xB1\xE6"), declared("latin2", "\u0105\u0107"),
         "ISO-8859-2"},
        {"ISO-8859-16", declared("iso-8859-16", "\xAA\xFE\xE9"),
         declared("iso-8859-16", "\u0218\u021B\u00E9"), "ISO-8859-16"},
        {"windows-874 unmapped byte", declared("tis-620", "\xA1\xDB"),
         declared("tis-620", "\u0E01\uFFFD"), "windows-874"},
        {"windows-1253 unmapped byte", declared("cp1253", "\xC1\xAA"),
         declared("cp1253", "\u0391\uFFFD"), "windows-1253"},
        {"windows-1255 holam haser", declared("cp1255", "\xCA"), declared("cp1255", "\u05BA"),
         "windows-1255"},
        {"EUC-JP two-byte, half-width kana, JIS X 0212",
         declared("euc-jp", "\xA4\xA2\x8E\xB1\x8F\xB0\xA1"),
         declared("euc-jp", "\u3042\uFF71\u4E02"), "EUC-JP"},
        {"ISO-2022-JP", declared("iso-2022-jp", "\x1B$B\x30\x21\x1B(I\x31\x1B(Ba"),
         declared("iso-2022-jp", "\u4E9C\uFF71a"), "ISO-2022-JP"},
        {"EUC-KR with Unified Hangul Code", declared("euc-kr", "\xB0\xA1\x81\x41"),
         declared("euc-kr", "\uAC00\uAC02"), "EUC-KR"},
        {"Big5, a two-character pointer, a Hong Kong addition",
         declared("big5", "\xA4\xA4\x88\x62\x87\xA4\x81\x40"),
         declared("big5", "\u4E2D\u00CA\u0304\u9F97\uFFFD@"), "Big5"},
        {"gb18030 euro, ideographic space, four-byte forms",
         declared("gb18030", "\x80\xA3\xA0\xC4\xE3\x81\x30\x81\x30\x90\x30\x81\x30"),
         declared("gb18030", "\u20AC\u3000\u4F60\u0080\U00010000"), "gb18030"},
        {"GBK reads gb18030", declared("gbk", "\x81\x30\x81\x30"), declared("gbk", "\u0080"),
         "GBK"},
    };
    for (const DecodingRow& row : rows) {
        expectDecodes(row);
    }
}

TEST(TextDecoderTest, MalformedBytesBecomeReplacementCharacters) {
    const DecodingRow rows[] = {
        {"UTF-8 ill-formed sequences",
         "<meta charset=utf-8>a\xC3(b\xE2\x82"
         "c\xF0\x9F\x98\x80\xED\xA0\x80\xF4\x90\xC0\xFF",
         "<meta charset=utf-8>a\uFFFD(b\uFFFDc\U0001F600\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"
         "\uFFFD",
         "UTF-8"},
        {"UTF-8 sequence cut by the end",
         "\xEF\xBB\xBF"
         "a\xF0\x9F\x98",
         "a\uFFFD", "UTF-8"},
        {"UTF-16LE surrogates and odd last byte",
         "\xFF\xFE=\xD8\x00\xDE\x00\xD8"
         "a\0\x00\xDC"
         "b"s,
         "\U0001F600\uFFFDa\uFFFD\uFFFD", "UTF-16LE"},
        {"UTF-16BE lead surrogate cut by the end", "\xFE\xFF\0a\xD8\x3D\x00"s, "a\uFFFD",
         "UTF-16BE"},
        {"EUC-JP lead at the end", "<meta charset=euc-jp>\xA4", "<meta charset=euc-jp>\uFFFD",
         "EUC-JP"},
        {"gb18030 broken four-byte form reread", "<meta charset=gb18030>\x81\x30<",
         "<meta charset=gb18030>\uFFFD0<", "gb18030"},
    };
    for (const DecodingRow& row : rows) {
        expectDecodes(row);
    }
}

TEST(TextDecoderTest, LegacyEdgesMatchBrowsers) {
    const auto declared = [](const char* label, const std::string& bytes) {
        return "<meta charset=" + std::string(label) + ">" + bytes;
    };
    const DecodingRow rows[] = {
        {"Shift_JIS 0x80, 0xA0 and 0xFD", declared("sjis", "\x80\xA0\xFD"),
         declared("sjis", "\u0080\uFFFD\uFFFD"), "Shift_JIS"},
        {"Shift_JIS user-defined area is private use", declared("sjis", "\xF0\x40\xF9\xFC"),
         declared("sjis", "\uE000\uE757"), "Shift_JIS"},
        {"EUC-KR user-defined area unmapped", declared("euc-kr", "\xC9\xA1\xFE\xFE"),
         declared("euc-kr", "\uFFFD\uFFFD"), "EUC-KR"},
        {"EUC-JP IBM rows of JIS X 0212 unmapped", declared("euc-jp", "\x8F\xF3\xA1"),
         declared("euc-jp", "\uFFFD"), "EUC-JP"},
        {"ISO-2022-JP Roman yen and overline", declared("iso-2022-jp", "\x1B(J\\~"),
         declared("iso-2022-jp", "\u00A5\u203E"), "ISO-2022-JP"},
        {"ISO-2022-JP two escapes in a row", declared("iso-2022-jp", "\x1B(B\x1B(Ba"),
         declared("iso-2022-jp", "\uFFFDa"), "ISO-2022-JP"},
        {"ISO-2022-JP unknown escape read again as text", declared("iso-2022-jp", "\x1B(Zb"),
         declared("iso-2022-jp", "\uFFFD(Zb"), "ISO-2022-JP"},
        {"ISO-2022-JP escape inside a character", declared("iso-2022-jp", "\x1B$B\x30\x1B(Ba"),
         declared("iso-2022-jp", "\uFFFDa"), "ISO-2022-JP"},
        {"ISO-2022-JP shift-out byte", declared("iso-2022-jp", "\x0E"),
         declared("iso-2022-jp", "\uFFFD"), "ISO-2022-JP"},
    };
    for (const DecodingRow& row : rows) {
        expectDecodes(row);
    }
}

// Large inputs are skipped in blocks of ASCII; characters must come out the same wherever
// they fall relative to a block.
TEST(TextDecoderTest, BlockSkippingKeepsEveryByte) {
    std::string windows1252 = "<meta charset=windows-1252>";
    std::string expected1252 = windows1252;
    std::string utf8;
    for (int run = 0; run < 40; ++run) {
        const std::string ascii(static_cast<std::size_t>(run), 'a');
        windows1252 += ascii + "\xE9\x80";
        expected1252 += ascii + "\u00E9\u20AC";
        utf8 += ascii + "\u00E9\u20AC\U0001F600";
    }
    expectDecodes({"windows-1252", windows1252, expected1252, "windows-1252"});
    expectDecodes({"UTF-8", utf8, utf8, "UTF-8"});
    const std::string cut = utf8.substr(0, utf8.size() - 1);
    EXPECT_EQ(decodeHtmlBytes(cut).encoding, "windows-1252");
}

}  // namespace
}  // namespace veltrano::html
