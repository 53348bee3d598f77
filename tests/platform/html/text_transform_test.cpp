#include "platform/html/text_transform.h"

#include <string>

#include <gtest/gtest.h>

namespace veltrano::html {
namespace {

// Each expectation is what headless Chromium showed for the text in an element with that lang.
struct CaseMappingCase {
    const char* name;
    const char* language;
    TextTransform transform;
    const char* text;
    const char* expected;
};

class CaseMapping : public testing::TestWithParam<CaseMappingCase> {};

TEST_P(CaseMapping, FollowsTheElementsLanguage) {
    TextTransformer transformer;
    std::string text = std::string("kept ") + GetParam().text;
    transformer.apply(GetParam().transform, text, 5, 0, caseLocaleFor(GetParam().language));
    EXPECT_EQ(text, std::string("kept ") + GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, CaseMapping,
    testing::Values(
        CaseMappingCase{"TurkishUpper", "tr", TextTransform::Uppercase, "i \u0131", "\u0130 I"},
        CaseMappingCase{"TurkishLower", "TR-tr", TextTransform::Lowercase, "I \u0130", "\u0131 i"},
        CaseMappingCase{"AzeriUpper", "az-Latn", TextTransform::Uppercase, "i", "\u0130"},
        CaseMappingCase{"LithuanianUpperDropsTheDot", "lt", TextTransform::Uppercase,
                        "i\u0307 \u012f\u0307", "I \u012e"},
        CaseMappingCase{"LithuanianLowerKeepsTheDot", "lt", TextTransform::Lowercase, "\u00cc I",
                        "i\u0307\u0300 i"},
        CaseMappingCase{"GreekUpperDropsAccents", "el", TextTransform::Uppercase,
                        "\u03ac\u03bb\u03c6\u03b1 \u03ae", "\u0391\u039b\u03a6\u0391 \u0389"},
        CaseMappingCase{"EnglishUpperIsFull", "en", TextTransform::Uppercase, "\u00df \ufb01 i",
                        "SS FI I"},
        CaseMappingCase{"NoLanguage", "", TextTransform::Uppercase, "i", "I"},
        CaseMappingCase{"OnlyThePrimarySubtagCounts", "tru", TextTransform::Uppercase, "i", "I"}),
    [](const testing::TestParamInfo<CaseMappingCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace veltrano::html
