#include "platform/html/encoding_sniffer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace veltrano::html {
namespace {

using namespace std::string_view_literals;

struct Html5libCase {
    std::string id;  // file and position, e.g. "tests1.dat#12"
    std::string data;
    std::string expectedLabel;
};

// The #data / #encoding blocks of one file of the suite.
std::vector<Html5libCase> readCases(const std::string& fileName) {
    std::ifstream in(std::string(VELTRANO_TEST_DATA) + "/html5lib-encoding/" + fileName,
                     std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    const std::string text = content.str();
    std::vector<Html5libCase> cases;
    for (std::size_t position = text.find("#data\n"); position != std::string::npos;
         position = text.find("#data\n", position)) {
        const std::size_t dataStart = position + 6;
        const std::size_t marker = text.find("\n#encoding\n", dataStart);
        const std::size_t labelStart = marker + 11;
        const std::size_t labelEnd = text.find('\n', labelStart);
        cases.push_back({fileName + "#" + std::to_string(cases.size() + 1),
                         text.substr(dataStart, marker - dataStart),
                         text.substr(labelStart, labelEnd - labelStart)});
        position = labelEnd;
    }
    return cases;
}

// Cases whose <meta> lies past the bytes the prescan reads: browsers find these while
// parsing, in the tree builder, and decode again. Nothing before parsing can.
const std::set<std::string> kFoundOnlyByTheParser = {
    "tests1.dat#48", "tests1.dat#49", "tests1.dat#50", "tests1.dat#51",
    "tests1.dat#52", "tests1.dat#53", "tests1.dat#54"};

TEST(EncodingSnifferTest, Html5libPrescanCases) {
    std::size_t caseCount = 0;
    for (const char* file : {"tests1.dat", "tests2.dat", "test-yahoo-jp.dat"}) {
        for (const Html5libCase& testCase : readCases(file)) {
            SCOPED_TRACE(testCase.id + ": " + testCase.data.substr(0, 80));
            ++caseCount;
            std::optional<Encoding> found;
            if (std::optional<ByteOrderMark> mark = sniffByteOrderMark(testCase.data)) {
                found = mark->encoding;
            } else {
                found = prescanForEncoding(testCase.data);
            }
            if (kFoundOnlyByTheParser.contains(testCase.id)) {
                EXPECT_FALSE(found.has_value());
                continue;
            }
            const std::optional<Encoding> expected = encodingForLabel(testCase.expectedLabel);
            ASSERT_TRUE(expected.has_value());
            // The suite expects windows-1252, a browser's default, where nothing is declared.
            EXPECT_EQ(encodingName(found.value_or(Encoding::Windows1252)), encodingName(*expected));
        }
    }
    EXPECT_EQ(caseCount, 82u);
}

TEST(EncodingSnifferTest, LabelsResolveToTheirEncoding) {
    const struct {
        const char* name;
        std::string_view label;
        std::optional<Encoding> expected;
    } rows[] = {
        {"latin1 is windows-1252", "latin1", Encoding::Windows1252},
        {"iso-8859-1 is windows-1252", "ISO-8859-1", Encoding::Windows1252},
        {"us-ascii is windows-1252", "us-ascii", Encoding::Windows1252},
        {"whitespace trimmed, case ignored", " \t\n\f\rUtF8 \n", Encoding::Utf8},
        {"sjis", "sjis", Encoding::ShiftJis},
        {"iso-8859-9 is windows-1254", "iso-8859-9", Encoding::Windows1254},
        {"gb2312 is GBK", "gb2312", Encoding::Gbk},
        {"big5-hkscs is Big5", "big5-hkscs", Encoding::Big5},
        {"utf-16 is UTF-16LE", "utf-16", Encoding::Utf16Le},
        {"iso-2022-kr is replacement", "iso-2022-kr", Encoding::Replacement},
        {"x-user-defined", "x-user-defined", Encoding::XUserDefined},
        {"unknown label", "utf-7", std::nullopt},
        {"inner space", "utf 8", std::nullopt},
        {"two labels joined by a space", "utf8 unicode11utf8", std::nullopt},
        {"vertical tab is not ASCII whitespace", "\vutf8", std::nullopt},
        {"empty", "", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(encodingForLabel(row.label), row.expected);
    }
}

TEST(EncodingSnifferTest, EveryEncodingIsFoundByItsOwnName) {
    for (int index = 0; index <= static_cast<int>(Encoding::XUserDefined); ++index) {
        const auto encoding = static_cast<Encoding>(index);
        SCOPED_TRACE(std::string(encodingName(encoding)));
        EXPECT_EQ(encodingForLabel(encodingName(encoding)), encoding);
    }
}

TEST(EncodingSnifferTest, ByteOrderMarks) {
    const struct {
        const char* name;
        std::string_view bytes;
        std::optional<Encoding> encoding;
        std::size_t length;
    } rows[] = {
        {"UTF-8", "\xEF\xBB\xBF<p>", Encoding::Utf8, 3},
        {"UTF-16BE", "\xFE\xFF\0<"sv, Encoding::Utf16Be, 2},
        {"UTF-16LE", "\xFF\xFE<\0"sv, Encoding::Utf16Le, 2},
        {"cut-off UTF-8 mark", "\xEF\xBB", std::nullopt, 0},
        {"none", "<p>", std::nullopt, 0},
        {"empty", "", std::nullopt, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<ByteOrderMark> mark = sniffByteOrderMark(row.bytes);
        ASSERT_EQ(mark.has_value(), row.encoding.has_value());
        if (mark) {
            EXPECT_EQ(mark->encoding, *row.encoding);
            EXPECT_EQ(mark->length, row.length);
        }
    }
}

TEST(EncodingSnifferTest, PrescanRules) {
    const std::string padding(kPrescanLength - 20, ' ');
    const struct {
        const char* name;
        std::string bytes;
        std::optional<Encoding> expected;
    } rows[] = {
        {"UTF-16BE declared reads as UTF-8", "<meta charset=utf-16be>", Encoding::Utf8},
        {"x-user-defined reads as windows-1252", "<meta charset=x-user-defined>",
         Encoding::Windows1252},
        {"replacement label", "<meta charset=hz-gb-2312>", Encoding::Replacement},
        {"upper-case META and a slash", "<META/CHARSET=KOI8-R>", Encoding::Koi8R},
        {"meta ending at the limit",
         std::string(kPrescanLength - 21, ' ') + "<meta charset=koi8-r>", Encoding::Koi8R},
        {"meta cut by the limit", padding + "<meta charset=koi8-r>", std::nullopt},
        {"comment closed by its own dashes", "<!--><meta charset=koi8-r>", Encoding::Koi8R},
        {"bogus comment skipped to >", "<!x <meta charset=koi8-r>><meta charset=sjis>",
         Encoding::ShiftJis},
        {"processing instruction skipped", "<?x <meta charset=koi8-r>?><meta charset=sjis>",
         Encoding::ShiftJis},
        {"end tag attributes skipped", "</p title='<meta charset=koi8-r>'><meta charset=sjis>",
         Encoding::ShiftJis},
        {"content without http-equiv ignored", "<meta content='charset=koi8-r'>", std::nullopt},
        {"charset attribute beats content",
         "<meta http-equiv=content-type content='charset=sjis' charset=koi8-r>", Encoding::Koi8R},
        {"first of repeated attributes counts", "<meta charset=koi8-r charset=sjis>",
         Encoding::Koi8R},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(prescanForEncoding(row.bytes), row.expected);
    }
}

}  // namespace
}  // namespace veltrano::html
