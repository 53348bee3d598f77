#include "platform/html/css/document_style_sheets.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/html/css/cascade.h"
#include "platform/html/css/style_sheet_files.h"
#include "platform/html/element_style.h"
#include "test_tree.h"

namespace veltrano::html::css {
namespace {

struct SourceCase {
    const char* name;
    std::vector<std::pair<const char*, std::string>> files;  // beside page.html
    const char* head;                                        // markup before the table
    const char* expected;  // #c's display: "none", or "-" when nothing is declared
};

class StyleSheetSources : public ::testing::TestWithParam<SourceCase> {
protected:
    void SetUp() override {
        mFolder = std::filesystem::temp_directory_path() /
                  ("veltrano-sheets-" + std::string(GetParam().name));
        std::filesystem::create_directories(mFolder / "css");
        for (const auto& [name, content] : GetParam().files) {
            std::ofstream(mFolder / name, std::ios::binary) << content;
        }
    }
    void TearDown() override { std::filesystem::remove_all(mFolder); }

    std::filesystem::path mFolder;
};

TEST_P(StyleSheetSources, AreReadInTreeOrder) {
    testing::TestTree tree(std::string("<html><head>") + GetParam().head +
                           "</head><body><table><tbody><tr><td id=c></td></tr></tbody></table>"
                           "</body></html>");
    const std::filesystem::path page = mFolder / "page.html";
    StyleSheetFiles files(page, Encoding::Windows1252);
    RuleSet rules;
    addDocumentStyleSheets(
        tree.tree(), page.string(), rules,
        [&](std::string_view href) { return files.linked(href); },
        [&](std::string_view url, std::string_view from) { return files.imported(url, from); });
    rules.finish();
    Cascade cascade(rules, tree.tree(), false);
    const auto& display = cascade.element(tree.byId("c"))[Property::Display];
    std::string shown = "-";
    if (display && display->wide == WideKeyword::None) {
        shown =
            display->keyword == static_cast<std::uint8_t>(html::Display::None) ? "none" : "shown";
    }
    EXPECT_EQ(shown, GetParam().expected);
}

const std::string kHide = "td { display: none }";
const std::string kShow = "td { display: block }";

INSTANTIATE_TEST_SUITE_P(
    Sources, StyleSheetSources,
    ::testing::Values(
        SourceCase{"StyleElement", {}, "<style>td { display: none }</style>", "none"},
        SourceCase{
            "StyleOfAnotherType", {}, "<style type=text/plain>td { display: none }</style>", "-"},
        SourceCase{"StyleForPrint", {}, "<style media=print>td { display: none }</style>", "-"},
        SourceCase{"StyleForAWideScreen",
                   {},
                   "<style media=\"screen and (min-width: 800px)\">td { display: none }</style>",
                   "none"},
        SourceCase{"LinkedFile", {{"a.css", kHide}}, "<link rel=stylesheet href=a.css>", "none"},
        SourceCase{"LinkedFileInAFolderWithAQuery",
                   {{"css/a b.css", kHide}},
                   "<link rel=\"icon stylesheet\" href=\" css/a%20b.css?v=2#x \">",
                   "none"},
        SourceCase{"MissingFileIsAbsent", {}, "<link rel=stylesheet href=missing.css>", "-"},
        SourceCase{"NothingFromTheNetwork",
                   {{"a.css", kHide}},
                   "<link rel=stylesheet href=http://example.com/a.css>"
                   "<link rel=stylesheet href=//example.com/a.css>"
                   "<link rel=stylesheet href=/a.css>",
                   "-"},
        SourceCase{"AlternateAndDisabledAreNot",
                   {{"a.css", kHide}},
                   "<link rel=\"alternate stylesheet\" href=a.css>"
                   "<link rel=stylesheet href=a.css disabled>",
                   "-"},
        SourceCase{"OnlyThePreferredTitleApplies",
                   {{"a.css", kHide}, {"b.css", kShow}},
                   "<link rel=stylesheet href=b.css title=first>"
                   "<link rel=stylesheet href=a.css title=second>",
                   "shown"},
        SourceCase{
            "UntitledSheetsAlwaysApply",
            {{"a.css", kHide}, {"b.css", kShow}},
            "<link rel=stylesheet href=b.css title=first><style>td { display: none }</style>",
            "none"},
        SourceCase{"DocumentOrderDecides",
                   {{"a.css", kHide}},
                   "<style>td { display: block }</style><link rel=stylesheet href=a.css>",
                   "none"},
        SourceCase{"ImportRelativeToTheImportingSheet",
                   {{"css/main.css", "@import 'hide.css';"}, {"css/hide.css", kHide}},
                   "<link rel=stylesheet href=css/main.css>",
                   "none"},
        SourceCase{"ImportFromAStyleElement",
                   {{"a.css", kHide}},
                   "<style>@import 'a.css';</style>",
                   "none"},
        SourceCase{"BaseWithASchemeLeadsAway",
                   {{"a.css", kHide}},
                   "<base href=http://example.com/><link rel=stylesheet href=a.css>"
                   "<style>@import 'a.css';</style>",
                   "-"}),
    [](const ::testing::TestParamInfo<SourceCase>& row) { return std::string(row.param.name); });

struct DecodingCase {
    const char* name;
    std::string bytes;
    Encoding fallback;
    const char* text;
    Encoding used;
};

class StyleSheetDecoding : public ::testing::TestWithParam<DecodingCase> {};

TEST_P(StyleSheetDecoding, FollowsBomThenCharsetThenTheReferrer) {
    Encoding used = Encoding::Replacement;
    EXPECT_EQ(decodeStyleSheet(GetParam().bytes, GetParam().fallback, used), GetParam().text);
    EXPECT_EQ(used, GetParam().used);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, StyleSheetDecoding,
    ::testing::Values(
        DecodingCase{"Utf8Bom", "\xEF\xBB\xBFp{content:'\xC3\xA9'}", Encoding::Windows1252,
                     "p{content:'\u00e9'}", Encoding::Utf8},
        DecodingCase{"Utf16LeBom", std::string("\xFF\xFEp\0{\0}\0", 8), Encoding::Utf8, "p{}",
                     Encoding::Utf16Le},
        DecodingCase{"CharsetRule", "@charset \"iso-8859-5\"; p{content:'\xB0'}", Encoding::Utf8,
                     "@charset \"iso-8859-5\"; p{content:'\u0410'}", Encoding::Iso8859_5},
        DecodingCase{"CharsetUtf16MeansUtf8", "@charset \"utf-16\"; \xC3\xA9",
                     Encoding::Windows1252, "@charset \"utf-16\"; \u00e9", Encoding::Utf8},
        DecodingCase{"CharsetWithSingleQuotesIsNotOne", "@charset 'utf-8'; \xE9",
                     Encoding::Windows1252, "@charset 'utf-8'; \u00e9", Encoding::Windows1252},
        DecodingCase{"ReferrersEncoding", "p{content:'\x81\x8D\x8F\x90\x9D\x80'}",
                     Encoding::Windows1252, "p{content:'\u0081\u008D\u008F\u0090\u009D\u20AC'}",
                     Encoding::Windows1252}),
    [](const ::testing::TestParamInfo<DecodingCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace veltrano::html::css
