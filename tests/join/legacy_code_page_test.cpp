#include "join/legacy_code_page.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace veltrano {
namespace {

struct ConversionCase {
    const char* name;
    std::string_view utf8;
    std::string_view written;
};

class LegacyCodePageTest : public testing::TestWithParam<ConversionCase> {};

TEST_P(LegacyCodePageTest, WritesTheCodePageBytesAndCountsThemExactly) {
    const ConversionCase& c = GetParam();
    std::string out(maxEscapedLegacyTextSize(c.utf8.size()), '\0');
    out.resize(static_cast<std::size_t>(writeEscapedLegacyText(out.data(), c.utf8) - out.data()));
    EXPECT_EQ(out, c.written);
    EXPECT_EQ(escapedLegacyTextSize(c.utf8), c.written.size());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LegacyCodePageTest,
    testing::Values(
        ConversionCase{"Empty", "", ""}, ConversionCase{"PlainAscii", "Smith 42.50", "Smith 42.50"},
        ConversionCase{"MarkupCharactersEscaped", "a<b & c>d", "a&lt;b &amp; c&gt;d"},
        // A cell that already reads like an entity is text, not markup: it must show as typed.
        ConversionCase{"EntityLookalikeEscapedAgain", "&amp;&nbsp;", "&amp;amp;&amp;nbsp;"},
        ConversionCase{"LineBreaksAndQuotesKept", "one\r\ntwo\n\"3\" '4'", "one\r\ntwo\n\"3\" '4'"},
        ConversionCase{"LatinOneCharacters", "Caf\u00e9 Z\u00fcrich \u00a0\u00ff",
                       "Caf\xe9 Z\xfcrich \xa0\xff"},
        ConversionCase{"WindowsExtrasAboveLatinOne",
                       "\u20ac \u201e\u2026\u2030 \u0152\u0178 \u2122",
                       "\x80 \x84\x85\x89 \x8c\x9f \x99"},
        ConversionCase{"UnassignedByteKeepsItsControl", "\u0081", "\x81"},
        ConversionCase{"OutsideTheCodePage", "\u2192 \u4e2d \u0159", "&#8594; &#20013; &#345;"},
        ConversionCase{"OutsideTheBasicPlane", "\U0001F600", "&#128512;"},
        ConversionCase{"InvalidSequencesKeepWhatFollows",
                       "a\xc3(b\x80"
                       "c\xe2\x86",
                       "a&#65533;(b&#65533;c&#65533;"},
        ConversionCase{"OverlongAndSurrogateRejected", "\xc0\xaf\xe0\x80\xaf\xed\xa0\x80",
                       "&#65533;&#65533;&#65533;&#65533;&#65533;&#65533;&#65533;&#65533;"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace veltrano
