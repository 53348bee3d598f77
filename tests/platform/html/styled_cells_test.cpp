#include <string>

#include <gtest/gtest.h>

#include "platform/html/document_tables.h"
#include "platform/html/table_walk.h"

namespace veltrano::html {
namespace {

// The cells of every table, "|" between them.
class CellTexts final : public TableVisitor {
public:
    void beginTable(std::int32_t) override {}
    void beginRow(std::int32_t) override {}
    void cell(std::string_view text) override {
        texts += (texts.empty() && first ? "" : "|");
        texts += text;
        first = false;
    }
    void unreadableCell(std::string_view reason) override {
        ADD_FAILURE() << "unreadable cell: " << reason;
    }
    void endTable() override {}

    std::string texts;
    bool first = true;
};

class Unwatched final : public ParseProgress {
public:
    bool progress(double) override { return true; }
};

// A document with its own style sheet and the cell texts headless Chromium gives for it.
struct StyledCase {
    const char* name;
    const char* html;
    const char* expected;
};

class StyledCells : public testing::TestWithParam<StyledCase> {};

TEST_P(StyledCells, FollowTheDocumentsStyleSheets) {
    CellTexts cells;
    Unwatched progress;
    ASSERT_TRUE(readTablesFromText(GetParam().html, cells, progress));
    EXPECT_EQ(cells.texts, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    StyleSheets, StyledCells,
    testing::Values(
        StyledCase{"DisplayNoneFromAClass",
                   "<!DOCTYPE html><style>.x{display:none}</style><table><tr><td>a<span "
                   "class=x>b</span>c</td></tr></table>",
                   "ac"},
        StyledCase{"BlockFromADescendantRule",
                   "<!DOCTYPE html><style>td "
                   "span{display:block}</style><table><tr><td>a<span>b</span>c</td></tr></table>",
                   "a\nb\nc"},
        StyledCase{"VisibilityHidden",
                   "<!DOCTYPE html><style>.x{visibility:hidden}</style><table><tr><td>a <span "
                   "class=x>b</span> c</td></tr></table>",
                   "a  c"},
        StyledCase{"WhiteSpacePre",
                   "<!DOCTYPE html><style>td{white-space:pre}</style><table><tr><td> a  b "
                   "</td></tr></table>",
                   " a  b "},
        StyledCase{
            "WhiteSpaceCollapseLonghand",
            "<!DOCTYPE html><style>td{white-space-collapse:preserve-breaks}</style><table><tr><td> "
            "a  b\nc </td></tr></table>",
            "a b\nc"},
        StyledCase{"UppercaseInTurkish",
                   "<!DOCTYPE html><style>td{text-transform:uppercase}</style><table><tr><td "
                   "lang=tr>i \u0131</td><td>i</td></tr></table>",
                   "\u0130 I|I"},
        StyledCase{"FloatMakesABlock",
                   "<!DOCTYPE html><style>.f{float:right}</style><table><tr><td>a<span "
                   "class=f>b</span>c</td></tr></table>",
                   "a\nb\nc"},
        StyledCase{"AbsolutePositionMakesABlock",
                   "<!DOCTYPE html><style>.p{position:absolute}</style><table><tr><td>a<span "
                   "class=p>b</span>c</td></tr></table>",
                   "a\nb\nc"},
        StyledCase{"ListItemsWithSeparators",
                   "<!DOCTYPE html><style>li{display:inline} li::after{content:\" \\00B7  \"} "
                   "li:last-child::after{content:none}</style><table><tr><td><ul><li>WSGI</"
                   "li>\n<li>ASGI</li>\n<li>CGI</li></ul></td></tr></table>",
                   "WSGIASGICGI"},
        StyledCase{"SheetAfterTheTable",
                   "<!DOCTYPE html><table><tr><td>a<span "
                   "class=x>b</span></td></tr></table><style>.x{display:none}</style>",
                   "a"},
        StyledCase{"LastChildLooksAhead",
                   "<!DOCTYPE html><style>tr:last-child "
                   "td{text-transform:uppercase}</style><table><tr><td>a</td></tr><tr><td>b</td></"
                   "tr></table>",
                   "a|B"},
        StyledCase{"QuirksModeIgnoresClassCase",
                   "<style>.X{display:none}</style><table><tr><td>a<span "
                   "class=x>b</span></td></tr></table>",
                   "a"},
        StyledCase{"NoQuirksKeepsClassCase",
                   "<!DOCTYPE html><style>.X{display:none}</style><table><tr><td>a<span "
                   "class=x>b</span></td></tr></table>",
                   "ab"},
        StyledCase{"StyleAttributeBeatsTheSheet",
                   "<!DOCTYPE html><style>#s{display:none}</style><table><tr><td>a<span id=s "
                   "style=\"display:inline\">b</span></td></tr></table>",
                   "ab"},
        StyledCase{
            "ImportantRuleBeatsTheStyleAttribute",
            "<!DOCTYPE html><style>span{display:none!important}</style><table><tr><td>a<span "
            "style=\"display:inline\">b</span></td></tr></table>",
            "a"},
        StyledCase{
            "PrintSheetIgnored",
            "<!DOCTYPE html><style media=print>.x{display:none}</style><table><tr><td>a<span "
            "class=x>b</span></td></tr></table>",
            "ab"},
        StyledCase{"HiddenCellGivesItsTextContent",
                   "<!DOCTYPE html><style>td.h{display:none}</style><table><tr><td class=h> a  "
                   "<b>b</b> </td></tr></table>",
                   " a  b "},
        StyledCase{
            "GeneratedTextIsNotIncluded",
            "<!DOCTYPE html><style>td::before{content:\"x\"} "
            "td::after{content:attr(title)}</style><table><tr><td title=t>a</td></tr></table>",
            "a"},
        StyledCase{"DisplayTableParts",
                   "<!DOCTYPE "
                   "html><style>.t{display:table}.r{display:table-row}.c{display:table-cell}</"
                   "style><table><tr><td><div class=t><div class=r><span class=c>a</span><span "
                   "class=c>b</span></div><div class=r><span "
                   "class=c>c</span></div></div></td></tr></table>",
                   "a\tb\nc"},
        StyledCase{"FlexItemsBecomeBlocks",
                   "<!DOCTYPE html><style>.f{display:flex}</style><table><tr><td><div "
                   "class=f><span>a</span><span>b</span></div></td></tr></table>",
                   "a\nb"},
        StyledCase{"NestedRules",
                   "<!DOCTYPE html><style>table { .x { display: none } "
                   "}</style><table><tr><td>a<span class=x>b</span></td></tr></table>",
                   "a"},
        StyledCase{"SvgStyleElementApplies",
                   "<!DOCTYPE html><svg><style>.x{display:none}</style></svg><table><tr><td>a<span "
                   "class=x>b</span></td></tr></table>",
                   "a"},
        StyledCase{"TemplateStyleDoesNot",
                   "<!DOCTYPE "
                   "html><template><style>.x{display:none}</style></template><table><tr><td>a<span "
                   "class=x>b</span></td></tr></table>",
                   "ab"},
        StyledCase{"SiblingsAlikeStillDifferByPosition",
                   "<!DOCTYPE html><style>td:first-child{text-transform:uppercase} td+td+td "
                   "span{display:none}</style><table><tr><td>a<span>x</span></td><td>b<span>x</"
                   "span></td><td>c<span>x</span></td></tr></table>",
                   "AX|bx|c"},
        StyledCase{"InlineBlockFromASheet",
                   "<!DOCTYPE html><style>.i{display:inline-block}</style><table><tr><td>a <span "
                   "class=i> b </span> c</td></tr></table>",
                   "a b c"}),
    [](const testing::TestParamInfo<StyledCase>& row) { return std::string(row.param.name); });

// Sheets before the table let the rows go as they are read; what the cascade remembers about
// rows and siblings must follow the tree as rows are let go and node numbers reused. (Forty
// rows of this table as headless Chromium renders them.)
TEST(StyledCells, HoldAsRowsAreLetGo) {
    std::string html =
        "<!DOCTYPE html><style>tr:nth-child(2n) td { text-transform: uppercase } tr.r1 span { "
        "display: none } td + td b { white-space: pre }</style><table><tbody>";
    std::string expected;
    for (int i = 1; i <= 400; ++i) {
        const std::string n = std::to_string(i);
        html += "<tr class=r" + std::to_string(i % 3) + "><td>row " + n +
                " <span class=n>note</span></td><td><b>b" + n + "</b></td></tr>\n";
        std::string first = "row " + n + (i % 3 == 1 ? "" : " note");
        std::string second = "b" + n;
        if (i % 2 == 0) {
            for (std::string* text : {&first, &second}) {
                for (char& c : *text) {
                    c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
                }
            }
        }
        expected += (expected.empty() ? "" : "|") + first + "|" + second;
    }
    html += "</tbody></table>";
    CellTexts cells;
    Unwatched progress;
    ASSERT_TRUE(readTablesFromText(html, cells, progress));
    EXPECT_EQ(cells.texts, expected);
}

// A document read whole before its cells are rendered can still be stopped while they are.
TEST(StyledCells, RenderingCanBeStopped) {
    class StopWhenParsed final : public ParseProgress {
    public:
        bool progress(double fraction) override { return fraction < 1.0; }
    };
    std::string html = "<!DOCTYPE html><table>";
    for (int i = 0; i < 100; ++i) {
        html += "<tr><td>cell</td></tr>";
    }
    html += "</table><style>td { text-transform: uppercase }</style>";
    CellTexts cells;
    StopWhenParsed progress;
    EXPECT_FALSE(readTablesFromText(html, cells, progress));
    EXPECT_EQ(cells.texts, "");
}

}  // namespace
}  // namespace veltrano::html
