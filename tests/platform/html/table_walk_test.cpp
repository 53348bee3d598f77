#include "platform/html/table_walk.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/html/document_tables.h"
#include "platform/html/html_document.h"
#include "platform/html/rendered_text.h"
#include "platform/html/text_decoder.h"

namespace veltrano::html {
namespace {

// Everything the walk hands over, in order.
class Recorder final : public TableVisitor {
public:
    struct Table {
        std::int32_t number;
        std::vector<std::vector<std::string>> rows;
    };

    void beginTable(std::int32_t number) override { tables.push_back({number, {}}); }
    void beginRow(std::int32_t cellCount) override {
        tables.back().rows.emplace_back();
        announcedCells.push_back(cellCount);
    }
    void cell(std::string_view text) override { tables.back().rows.back().emplace_back(text); }
    void unreadableCell(std::string_view reason) override {
        ADD_FAILURE() << "unreadable cell: " << reason;
    }
    void endTable() override { ++ended; }

    // "number:cells per row" for each table, "1:| 2:3,1" (| for a table without rows).
    std::string layout() const {
        std::string text;
        for (const Table& table : tables) {
            text += (text.empty() ? "" : " ") + std::to_string(table.number) + ":";
            if (table.rows.empty()) {
                text += '|';
            }
            for (std::size_t r = 0; r < table.rows.size(); ++r) {
                text += (r == 0 ? "" : ",") + std::to_string(table.rows[r].size());
            }
        }
        return text;
    }

    std::vector<Table> tables;
    std::vector<std::int32_t> announcedCells;
    std::size_t ended = 0;
};

Recorder walk(const HtmlDocument& document) {
    Recorder recorder;
    walkTables(document, recorder);
    return recorder;
}

class Unwatched final : public ParseProgress {
public:
    bool progress(double) override { return true; }
};

// The tables as they are read while the document streams in, the tree letting go of rows.
Recorder read(const std::string& html) {
    Recorder recorder;
    Unwatched progress;
    EXPECT_TRUE(readTablesFromText(html, recorder, progress));
    return recorder;
}

std::string fileText(const char* name) {
    std::ifstream in(std::string(VELTRANO_TEST_DATA "/") + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(TableWalk, NumbersEveryTableListedOrNot) {
    const auto document = HtmlDocument::load(VELTRANO_TEST_DATA "/numbering.html", 1 << 20);
    const Recorder recorder = walk(*document);
    EXPECT_EQ(recorder.layout(), "1:| 2:3,1,0,1 3:1,0 4:| 5:0 6:1 7:2,0");
    EXPECT_EQ(recorder.ended, recorder.tables.size());
}

TEST(TableWalk, AnnouncesEachRowsCellCount) {
    const auto document =
        HtmlDocument::parse("<table><tr><td>a<td><table><tr><td>b<td>c</table><tr></table>");
    const Recorder recorder = walk(*document);
    EXPECT_EQ(recorder.layout(), "1:4,2,0 2:2");
    EXPECT_EQ(recorder.announcedCells, (std::vector<std::int32_t>{4, 2, 0, 2}));
}

// The walk must give exactly what document.getElementsByTagName("table"), then each
// table's getElementsByTagName("tr") and each row's getElementsByTagName("td") give, and each
// cell's text as rendering it from its ancestors does.
void expectSameAsElementLists(const HtmlDocument& document) {
    const Recorder recorder = walk(document);
    const ElementList tables = document.getElementsByTagName("table");
    ASSERT_EQ(recorder.tables.size(), tables.length());
    RenderedText byAncestors;
    for (std::size_t t = 0; t < tables.length(); ++t) {
        const Recorder::Table& walked = recorder.tables[t];
        EXPECT_EQ(walked.number, static_cast<std::int32_t>(t + 1));
        const ElementList rows = tables.item(t).getElementsByTagName("tr");
        ASSERT_EQ(walked.rows.size(), rows.length()) << "table " << t + 1;
        for (std::size_t r = 0; r < rows.length(); ++r) {
            const ElementList cells = rows.item(r).getElementsByTagName("td");
            ASSERT_EQ(walked.rows[r].size(), cells.length()) << "table " << t + 1 << " row " << r;
            for (std::size_t c = 0; c < cells.length(); ++c) {
                EXPECT_EQ(walked.rows[r][c], byAncestors.text(cells.item(c)))
                    << "table " << t + 1 << " row " << r << " cell " << c;
            }
        }
    }
}

class AgreesWithElementLists : public testing::TestWithParam<const char*> {};

// Reading while the document streams in, letting go of finished rows, must give what the walk
// over the whole tree gives.
void expectStreamingSameAsWholeTree(const std::string& html) {
    const Recorder streamed = read(html);
    const Recorder whole = walk(*HtmlDocument::parse(html));
    ASSERT_EQ(streamed.tables.size(), whole.tables.size());
    for (std::size_t t = 0; t < whole.tables.size(); ++t) {
        EXPECT_EQ(streamed.tables[t].number, whole.tables[t].number);
        EXPECT_EQ(streamed.tables[t].rows, whole.tables[t].rows) << "table " << t + 1;
    }
    EXPECT_EQ(streamed.announcedCells, whole.announcedCells);
    EXPECT_EQ(streamed.ended, whole.ended);
}

TEST_P(AgreesWithElementLists, OnOurTestFiles) {
    const auto document =
        HtmlDocument::load(std::string(VELTRANO_TEST_DATA "/") + GetParam(), 1 << 20);
    expectSameAsElementLists(*document);
}

TEST_P(AgreesWithElementLists, WhenReadWhileStreaming) {
    expectStreamingSameAsWholeTree(decodeHtmlBytes(fileText(GetParam())).utf8);
}

INSTANTIATE_TEST_SUITE_P(Files, AgreesWithElementLists,
                         testing::Values("blocks_and_nesting.html", "elements.html", "layout.html",
                                         "legacy_encoding_crlf.html", "multibyte.html",
                                         "numbering.html", "out_of_flow_and_details.html",
                                         "transform_and_hidden.html", "whitespace.html"));

TEST(TableWalk, AgreesWithElementListsOnMisnestedMarkup) {
    const std::string html =
        "<table border=1><tr><td><b>bold<td>next</b></td></tr></td></tr></tr>"
        "<tr><td>after stray end tags</td></table></td><p>open <table><tr><td>in p</table>"
        "<table><tr><td>a</td><table><tr><td>opened in a tr</td></tr></table></tr></table>"
        "<td>outside</td><svg><tr><td>svg outside</td></tr></svg>"
        "<table><tr><td><svg><tr><td>svg inside</td></tr></svg></td></tr></table>"
        "<table><template><tr><td>template</td></tr></template><tr><td>x</td></tr></table>"
        "<b><table><tr><td>1</td></tr></b><tr><td>2</td></tr></table>"
        "<table><caption><table><tr><td>in caption</table></caption><tr><td>y</table>"
        "<table><tr><td><form><table><tr><td>f</td></tr></table></td></tr></table>x</form>";
    expectSameAsElementLists(*HtmlDocument::parse(html));
    expectStreamingSameAsWholeTree(html);
}

// The selected option is copied into selectedcontent when it is popped: here two sibling
// tables, whose copies the streaming read once took for nested ones, freeing the first copy's
// records while its row was still to come.
TEST(TableWalk, CopiesOfTheSelectedOptionsTablesAreReadAsSiblings) {
    const std::string html =
        "<select><button><selectedcontent></button><option>"
        "<table><tr><td>a</td></tr></table><table><tr><td>b</td></tr></table>";
    expectSameAsElementLists(*HtmlDocument::parse(html));
    expectStreamingSameAsWholeTree(html);
    const Recorder streamed = read(html);
    EXPECT_EQ(streamed.layout(), "1:1 2:1 3:1 4:1");
    EXPECT_EQ(streamed.ended, 4u);
}

// Past 512 open elements an element goes beside its intended parent, as in Chromium (whose
// innerText the expected texts are): a table under 100,000 spans keeps no row, and the cell of
// the 128th nested table lands beside its row, in an anonymous row of its own.
TEST(TableWalk, BeyondTheDepthLimitElementsGoBesideTheirParent) {
    std::string spans;
    for (int i = 0; i < 100000; ++i) {
        spans += "<span>";
    }
    EXPECT_EQ(walk(*HtmlDocument::parse(spans + "<table><tr><td>cell</td></tr></table>")).layout(),
              "1:|");

    std::string nested;
    for (int i = 0; i < 128; ++i) {
        nested += "<table><tr><td>";
    }
    const Recorder recorder = read(nested + "x");
    ASSERT_EQ(recorder.tables.size(), 128u);
    EXPECT_EQ(recorder.tables[126].rows[0], (std::vector<std::string>{"\nx", "x"}));
    EXPECT_EQ(recorder.tables[127].rows.size(), 1u);
    EXPECT_TRUE(recorder.tables[127].rows[0].empty());
}

TEST(TableWalk, NestedTablesRepeatTheirRowsInEveryEnclosingTable) {
    // Four elements a level: within the depth the tree builder nests elements to.
    constexpr std::int32_t kDepth = 120;
    std::string html;
    for (std::int32_t i = 0; i < kDepth; ++i) {
        html += "<table><tr><td>";
    }
    const Recorder recorder = walk(*HtmlDocument::parse(html + "x"));
    ASSERT_EQ(recorder.tables.size(), static_cast<std::size_t>(kDepth));
    for (std::int32_t t = 0; t < kDepth; ++t) {
        // Table t+1 holds its own row and those of the tables inside it, each with every td
        // below that row.
        const auto& rows = recorder.tables[t].rows;
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(kDepth - t));
        EXPECT_EQ(rows.front().size(), static_cast<std::size_t>(kDepth - t));
        EXPECT_EQ(rows.back().size(), 1u);
    }
}

}  // namespace
}  // namespace veltrano::html
