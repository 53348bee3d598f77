#include "platform/html/rendered_text.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/html/html_document.h"
#include "platform/html/table_walk.h"

namespace veltrano::html {
namespace {

// One cell and the text headless Chromium gives as its innerText (from the HTML oracle).
struct CellCase {
    const char* name;
    const char* tableStyle;
    const char* rowStyle;
    const char* cell;
    const char* expected;
};

std::string tableAround(const CellCase& c) {
    const auto style = [](const char* value) {
        return *value == '\0' ? std::string() : std::string(" style=\"") + value + "\"";
    };
    return "<!DOCTYPE html><table" + style(c.tableStyle) + "><tr" + style(c.rowStyle) + ">" +
           c.cell + "</tr></table>";
}

// The first cell the table walk hands over.
class FirstCell final : public TableVisitor {
public:
    void beginTable(std::int32_t) override {}
    void beginRow(std::int32_t) override {}
    void cell(std::string_view text) override {
        if (!mCell) {
            mCell = std::string(text);
        }
    }
    void unreadableCell(std::string_view reason) override { ADD_FAILURE() << reason; }
    void endTable() override {}
    std::optional<std::string> mCell;
};

class CellText : public testing::TestWithParam<CellCase> {};

TEST_P(CellText, MatchesTheBrowser) {
    const auto document = HtmlDocument::parse(tableAround(GetParam()));
    RenderedText renderer;
    EXPECT_EQ(renderer.text(document->getElementsByTagName("td").item(0)), GetParam().expected)
        << "looking up the ancestors";
    FirstCell first;
    walkTables(*document, first);
    ASSERT_TRUE(first.mCell.has_value());
    EXPECT_EQ(*first.mCell, GetParam().expected) << "as the table walk gives it";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CellText,
    testing::Values(
        CellCase{"EntitiesAndNbspCharacterReferences", "", "",
                 "<td>&amp;&lt;&gt;&quot;&apos; &copy &#x263A; &#128;</td>",
                 "&<>\"' \u00a9 \u263a \u20ac"},
        CellCase{"EntitiesAndNbspNbspIsKeptAndNeverTrimmed", "", "",
                 "<td>&nbsp;&nbsp;a&nbsp; &nbsp;b&nbsp;</td>", "\u00a0\u00a0a\u00a0 \u00a0b\u00a0"},
        CellCase{"EntitiesAndNbspReferencedControlsCollapse", "", "",
                 "<td>&#13;cr&#10;lf&#9;tab&#32;</td>", "cr lf tab"},
        CellCase{"WhiteSpaceTrimmedAndCollapsed", "", "",
                 "<td>\n   text  on\n\tseveral   lines\n</td>", "text on several lines"},
        CellCase{"WhiteSpaceCollapsesAcrossInlineBoundaries", "", "",
                 "<td><b>bold </b> <i> italic</i><span> </span> x</td>", "bold italic x"},
        CellCase{"WhiteSpaceSpacesAroundAnAtomicInlineStay", "", "",
                 "<td>a <img src=\"x.png\" alt=\"alt\"> b <input> c</td>", "a  b  c"},
        CellCase{"WhiteSpaceHiddenTextTakesItsPlace", "", "",
                 "<td>a <span style=\"visibility:hidden\">x</span> b<span "
                 "style=\"visibility:hidden\"> y </span>c</td>",
                 "a  bc"},
        CellCase{"WhiteSpaceSegmentBreakBetweenWideCharacters", "", "",
                 "<td>\u65e5\u672c\n\u8a9e</td>", "\u65e5\u672c \u8a9e"},
        CellCase{"WhiteSpaceSegmentBreakAfterZeroWidthSpace", "", "", "<td>zw&#x200B;\nnext</td>",
                 "zw\u200bnext"},
        CellCase{"WhiteSpacePreLine", "", "",
                 "<td style=\"white-space:pre-line\">  one   two  \n   three  </td>",
                 "one two\nthree"},
        CellCase{"WhiteSpacePreWrapKeepsEverything", "", "",
                 "<td style=\"white-space:pre-wrap\">a  \n  b  </td>", "a  \n  b  "},
        CellCase{"WhiteSpacePreservedSpacesInsideCollapsedText", "", "",
                 "<td>x <span style=\"white-space:pre\">  </span> y</td>", "x    y"},
        CellCase{"WhiteSpaceInheritedFromTheTable", "white-space:pre", "",
                 "<td>  kept   as is  </td>", "  kept   as is  "},
        CellCase{"LineBreaksBrInText", "", "", "<td>line 1<br>line 2<br/>line 3</td>",
                 "line 1\nline 2\nline 3"},
        CellCase{"LineBreaksTrailingBr", "", "", "<td>trailing<br></td>", "trailing\n"},
        CellCase{"LineBreaksLoneBr", "", "", "<td><br></td>", "\n"},
        CellCase{"LineBreaksSpacesAroundBrGo", "", "", "<td>x <br> <br> y</td>", "x\n\ny"},
        CellCase{"LineBreaksHiddenBrStillEndsTheLine", "", "",
                 "<td>a <span style=\"visibility:hidden\"><br></span> b</td>", "ab"},
        CellCase{"ParagraphsTextAroundAParagraph", "", "", "<td>before<p>paragraph</p>after</td>",
                 "before\n\nparagraph\n\nafter"},
        CellCase{"ParagraphsParagraphEndingInBr", "", "",
                 "<td><p>p then br<br></p><p>next</p></td>", "p then br\n\n\nnext"},
        CellCase{"ParagraphsEmptyParagraphs", "", "",
                 "<td><p></p><p>after an empty p</p><p></p></td>", "after an empty p"},
        CellCase{"ParagraphsInlineParagraphKeepsItsBreaks", "", "",
                 "<td>a <p style=\"display:inline\"> b </p> c</td>", "a \n\nb \n\nc"},
        CellCase{"ParagraphsInvisibleParagraphHasNoBreaks", "", "",
                 "<td>a<p style=\"visibility:hidden\">x</p>b</td>", "ab"},
        CellCase{"BlocksDivBetweenText", "", "", "<td>inline <div>block</div> inline</td>",
                 "inline\nblock\ninline"},
        CellCase{"BlocksListItemsAndHeadings", "", "",
                 "<td><h2>Heading</h2><ul><li>apple<li>pear<ul><li>sub</ul></ul></td>",
                 "Heading\napple\npear\nsub"},
        CellCase{"BlocksEmptyBlocksSeparate", "", "", "<td>a<div></div>b<hr>c</td>", "a\nb\nc"},
        CellCase{"BlocksInlineBlocksDoNotBreak", "", "",
                 "<td>a<span style=\"display:inline-block\"> in <div>side</div></span>b</td>",
                 "ain\nside\nb"},
        CellCase{"BlocksFlexItemsAreBlocks", "", "",
                 "<td><div style=\"display:flex\"><span>a</span> <span>b</span>c</div></td>",
                 "a\nb\nc"},
        CellCase{"BlocksDisplayChangedByStyle", "", "",
                 "<td><div style=\"display:inline\">inline div</div> <span "
                 "style=\"display:block\">block span</span></td>",
                 "inline div\nblock span"},
        CellCase{"PreFirstNewlineDroppedAndTabsKept", "", "",
                 "<td><pre>\nfirst\n    indented\ttab\n</pre></td>", "first\n    indented\ttab\n"},
        CellCase{"PreMarkupInsidePre", "", "",
                 "<td>before<pre><b>bold</b>   <i>italic</i></pre>after</td>",
                 "before\nbold   italic\nafter"},
        CellCase{"PreListingAndXmp", "", "",
                 "<td><listing>listing   text</listing><xmp><b>raw</b></xmp></td>",
                 "listing   text\n<b>raw</b>"},
        CellCase{"SelectOptionsEachOnALine", "", "",
                 "<td><select><option>one<option selected>two</option><optgroup "
                 "label=g><option>three</optgroup></select></td>",
                 "one\ntwo\nthree"},
        CellCase{"SelectOptionTextIsCollapsed", "", "",
                 "<td>a <select><option>  x   y  </option><option></option></select> b</td>",
                 "a \nx y\n b"},
        CellCase{"SelectOptionOutsideASelect", "", "", "<td>a<option>loose</option>b</td>",
                 "a\nloose\nb"},
        CellCase{"SelectFormControlsShowNothing", "", "",
                 "<td>before <textarea>t</textarea> <input value=v> after<button> B </button></td>",
                 "before   afterB"},
        CellCase{"HiddenCellWithDisplayNoneGivesRawText", "", "",
                 "<td style=\"display:none\">cell  with "
                 "<b>markup</b>\n<br>and<script>code()</script></td>",
                 "cell  with markup\nandcode()"},
        CellCase{"HiddenCellWithHiddenAttribute", "", "",
                 "<td hidden>a<br>b<p>c</p><template>t</template></td>", "abc"},
        CellCase{"HiddenHiddenContentInsideAVisibleCell", "", "",
                 "<td>a<span style=\"display:none\">X</span>b<span hidden>Y</span>c<div "
                 "hidden=\"until-found\">Z</div></td>",
                 "abc"},
        CellCase{"HiddenScriptStyleAndTemplateGiveNothing", "", "",
                 "<td>a<script>s()</script><style>p{}</style><template>t</template>b</td>", "ab"},
        CellCase{"HiddenRowWithDisplayNone", "", "display:none", "<td>row  cell <br> text</td>",
                 "row  cell  text"},
        CellCase{"HiddenClosedDetailsShowItsSummary", "", "",
                 "<td><details><summary>Sum</summary>Body</details><details "
                 "open><summary>S2</summary>B2</details></td>",
                 "Sum\nS2\nB2"},
        CellCase{"VisibilityHiddenCellIsEmpty", "", "",
                 "<td style=\"visibility:hidden\">invisible</td>", ""},
        CellCase{
            "VisibilityVisibleInsideHidden", "", "",
            "<td style=\"visibility:hidden\">x<b style=\"visibility:visible\">shown</b> y</td>",
            "shown"},
        CellCase{"VisibilityCollapseHidesToo", "", "",
                 "<td>a<span style=\"visibility:collapse\">b</span>c</td>", "ac"},
        CellCase{"TextTransformUppercase", "", "",
                 "<td style=\"text-transform:uppercase\">stra\u00dfe \u01c6 \ufb01x</td>",
                 "STRASSE \u01c4 FIX"},
        CellCase{"TextTransformLowercase", "", "",
                 "<td style=\"text-transform:lowercase\">\u0130STANBUL \u03a3\u0391\u03a3</td>",
                 "i\u0307stanbul \u03c3\u03b1\u03c2"},
        CellCase{"TextTransformCapitalize", "", "",
                 "<td style=\"text-transform:capitalize\">hello world-foo don't 3rd e.g. x_y "
                 "<span>foo</span><span>bar</span></td>",
                 "Hello World-Foo Don't 3rd E.G. X_y Foobar"},
        CellCase{"TextTransformNoneInsideUppercase", "", "",
                 "<td style=\"text-transform:uppercase\"><span "
                 "style=\"text-transform:none\">none</span> up <span "
                 "style=\"text-transform:inherit\">inh</span></td>",
                 "none UP INH"},
        CellCase{"TextTransformMathItalicForLoneLetters", "", "",
                 "<td><math><mi>x</mi><mo>=</mo><mi>ab</mi><mi>h</mi></math></td>",
                 "\U0001d465\n=\nab\n\u210e"},
        CellCase{
            "NestedTablesTabsBetweenCellsLineFeedsBetweenRows", "", "",
            "<td>outer<table><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr></table>after</td>",
            "outer\na\tb\nc\nafter"},
        CellCase{"NestedTablesLastRowInDocumentOrder", "", "",
                 "<td><table><tfoot><tr><td>F</td></tr></tfoot><tbody><tr><td>B1</td></"
                 "tr><tr><td>B2</td></tr></tbody></table></td>",
                 "F\nB1\nB2"},
        CellCase{"NestedTablesHiddenCellsAndRowsAddNoSeparator", "", "",
                 "<td><table><tr><td>a</td><td style=\"display:none\">b</td></tr><tr "
                 "style=\"display:none\"><td>c</td></tr></table></td>",
                 "a"},
        CellCase{
            "NestedTablesInvisibleCellKeepsTheNextTab", "", "",
            "<td><table><tr><td>a</td><td style=\"visibility:hidden\">b</td><td>c</td></tr><tr "
            "style=\"visibility:hidden\"><td>d</td></tr><tr><td>e</td></tr></table></td>",
            "a\tc\ne"},
        CellCase{"NestedTablesThreeLevels", "", "",
                 "<td>L1<table><tr><td>L2 a</td><td><table><tr><td>L3 a</td><td>L3 "
                 "b</td></tr></table></td></tr><tr><td>L2 c</td></tr></table></td>",
                 "L1\nL2 a\t\nL3 a\tL3 b\n\nL2 c"},
        CellCase{"NestedTablesCaptionAndThCells", "", "",
                 "<td><table><caption>Cap</caption><tr><th>h</th><td>d</td></tr></table></td>",
                 "Cap\nh\td"},
        CellCase{"CrLfCollapsedText", "", "", "<td>line one\r\nline two\r\n</td>",
                 "line one line two"},
        CellCase{"CrLfInPre", "", "", "<td><pre>pre one\r\npre two\r\n</pre></td>",
                 "pre one\npre two\n"},
        CellCase{
            "MultiByteLettersAndEmoji", "", "",
            "<td>Gr\u00fc\u00dfe  \u041f\u0440\u0438\u0432\u0435\u0442 \U0001f600 &#x1F600; "
            "e&#x301;</td>",
            "Gr\u00fc\u00dfe \u041f\u0440\u0438\u0432\u0435\u0442 \U0001f600 \U0001f600 e\u0301"},
        CellCase{"MultiByteRightToLeftAndCjk", "", "",
                 "<td>\u05e2\u05d1\u05e8\u05d9\u05ea   \u05d5\u05e2\u05d5\u05d3 "
                 "\u65e5\u672c\u8a9e\u3000\u5168\u89d2</td>",
                 "\u05e2\u05d1\u05e8\u05d9\u05ea \u05d5\u05e2\u05d5\u05d3 "
                 "\u65e5\u672c\u8a9e\u3000\u5168\u89d2"},
        CellCase{"StyleAttributeCaseSpacesAndImportant", "", "",
                 "<td><div style=\"DISPLAY : NONE !IMPORTANT\">x</div>y</td>", "y"},
        CellCase{"StyleAttributeLaterDeclarationWins", "", "",
                 "<td><div style=\"display:none;display:inline\">later</div>wins</td>",
                 "laterwins"},
        CellCase{"StyleAttributeInvalidValueIgnored", "", "",
                 "<td><div style=\"display:bogus;\">bogus</div>z</td>", "bogus\nz"},
        CellCase{"StyleAttributeCommentsAndStrings", "", "",
                 "<td><div style='/*c*/content:\"a;b\"; display:none'>q</div>e</td>", "e"},
        CellCase{"StyleAttributeStyleOverridesHidden", "", "",
                 "<td><span hidden style=\"display:inline\">shown</span></td>", "shown"},
        CellCase{"OutOfFlowFloatBetweenWords", "", "",
                 "<td>a <span style=\"float:left\">F</span> b</td>", "a \nF\nb"},
        CellCase{"OutOfFlowFloatAtTheEnd", "", "", "<td>a <span style=\"float:left\">F</span></td>",
                 "a\nF"},
        CellCase{"OutOfFlowPositionedBoxAtTheStart", "", "",
                 "<td><span style=\"position:absolute\">P</span> b</td>", "P\nb"},
        CellCase{"ForeignSvgTextOnly", "", "",
                 "<td><svg><text>a</text><desc>d</desc><text>b</text></svg>after</td>",
                 "a\nb\nafter"}),
    [](const testing::TestParamInfo<CellCase>& row) { return std::string(row.param.name); });

TEST(RenderedText, ElementsOtherThanCells) {
    const auto document = HtmlDocument::parse(
        "<body><div>a<p>b</p></div><div hidden> raw <b>text</b> </div>"
        "<select><option>x<option>y</select><svg><text>  s  </text></svg>"
        "<textarea>t</textarea></body>");
    RenderedText renderer;
    const auto first = [&](const char* tag) { return document->getElementsByTagName(tag).item(0); };
    EXPECT_EQ(renderer.text(first("body")), "a\n\nb\n\nx\ny\ns");
    EXPECT_EQ(renderer.text(document->getElementsByTagName("div").item(1)), " raw text ");
    EXPECT_EQ(renderer.text(first("select")), "x\ny");
    EXPECT_EQ(renderer.text(first("svg")), "  s  ") << "not an HTML element: its text content";
    EXPECT_EQ(renderer.text(first("textarea")), "");
}

TEST(RenderedText, OneRendererServesManyElements) {
    const auto document = HtmlDocument::parse(
        "<table><tr><td>a <span style=\"float:left\">F</span> b<p>p</p></td>"
        "<td style=\"white-space:pre\">  pre  </td><td style=\"display:none\">  raw  </td>"
        "</tr></table>");
    const ElementList cells = document->getElementsByTagName("td");
    std::vector<std::string> once;
    RenderedText reused;
    for (std::size_t i = 0; i < cells.length(); ++i) {
        RenderedText fresh;
        once.emplace_back(fresh.text(cells.item(i)));
        EXPECT_EQ(reused.text(cells.item(i)), once.back());
    }
    for (std::size_t i = cells.length(); i-- > 0;) {
        EXPECT_EQ(reused.text(cells.item(i)), once[i]);
    }
}

TEST(RenderedText, DeepNestingNeedsNoCallStack) {
    constexpr int kDepth = 100000;
    std::string html = "<table><tr><td>";
    for (int i = 0; i < kDepth; ++i) {
        html += "<span> ";
    }
    html += "deep<div>block</div>";
    const auto document = HtmlDocument::parse(std::move(html));
    RenderedText renderer;
    EXPECT_EQ(renderer.text(document->getElementsByTagName("td").item(0)), "deep\nblock");
}

}  // namespace
}  // namespace veltrano::html
