#include "platform/html/table_walk.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/html/html_document.h"

namespace veltrano::html {
namespace {

// Everything the walk hands over, in order.
class Recorder final : public TableVisitor {
public:
    struct Table {
        std::int32_t number;
        std::vector<std::vector<CellRef>> rows;
    };

    void beginTable(std::int32_t number) override { tables.push_back({number, {}}); }
    void beginRow(std::int32_t cellCount) override {
        tables.back().rows.emplace_back();
        announcedCells.push_back(cellCount);
    }
    void cell(const CellRef& cell) override { tables.back().rows.back().push_back(cell); }
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
    RenderedText byWalk;
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
                const CellRef& cell = walked.rows[r][c];
                ASSERT_EQ(cell.element, cells.item(c));
                EXPECT_EQ(byWalk.text(cell), byAncestors.text(cells.item(c)));
            }
        }
    }
}

class AgreesWithElementLists : public testing::TestWithParam<const char*> {};

TEST_P(AgreesWithElementLists, OnOurTestFiles) {
    const auto document =
        HtmlDocument::load(std::string(VELTRANO_TEST_DATA "/") + GetParam(), 1 << 20);
    expectSameAsElementLists(*document);
}

INSTANTIATE_TEST_SUITE_P(Files, AgreesWithElementLists,
                         testing::Values("blocks_and_nesting.html", "elements.html", "layout.html",
                                         "legacy_encoding_crlf.html", "multibyte.html",
                                         "numbering.html", "out_of_flow_and_details.html",
                                         "transform_and_hidden.html", "whitespace.html"));

TEST(TableWalk, AgreesWithElementListsOnMisnestedMarkup) {
    expectSameAsElementLists(*HtmlDocument::parse(
        "<table border=1><tr><td><b>bold<td>next</b></td></tr></td></tr></tr>"
        "<tr><td>after stray end tags</td></table></td><p>open <table><tr><td>in p</table>"
        "<table><tr><td>a</td><table><tr><td>opened in a tr</td></tr></table></tr></table>"
        "<td>outside</td><svg><tr><td>svg outside</td></tr></svg>"
        "<table><tr><td><svg><tr><td>svg inside</td></tr></svg></td></tr></table>"
        "<table><template><tr><td>template</td></tr></template><tr><td>x</td></tr></table>"));
}

TEST(TableWalk, DeepNestingNeedsNoCallStack) {
    constexpr int kDepth = 100000;
    std::string spans;
    for (int i = 0; i < kDepth; ++i) {
        spans += "<span>";
    }
    const auto document =
        HtmlDocument::parse(spans + "<table><tr><td>" + spans + "cell</td></tr></table>");
    const Recorder recorder = walk(*document);
    ASSERT_EQ(recorder.layout(), "1:1");
    RenderedText renderer;
    EXPECT_EQ(renderer.text(recorder.tables[0].rows[0][0]), "cell");
}

TEST(TableWalk, NestedTablesRepeatTheirRowsInEveryEnclosingTable) {
    constexpr std::int32_t kDepth = 300;
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
