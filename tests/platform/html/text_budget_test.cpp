#include "platform/html/text_budget.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/failure.h"
#include "platform/html/document_tables.h"
#include "platform/html/table_walk.h"

namespace veltrano::html {
namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
constexpr std::uint64_t kGiB = kMiB << 10;

TEST(TextBudget, LimitsFollowTheDocumentUpToACeiling) {
    const TextBudget empty(0);
    EXPECT_EQ(empty.renderedLimit(), 16 * kMiB);
    EXPECT_EQ(empty.handedOverLimit(), 16 * kMiB);
    const TextBudget page(kMiB);
    EXPECT_EQ(page.renderedLimit(), 80 * kMiB);
    EXPECT_EQ(page.handedOverLimit(), 32 * kMiB);
    const TextBudget large(kGiB);
    EXPECT_EQ(large.renderedLimit(), 4 * kGiB);
    EXPECT_EQ(large.handedOverLimit(), 4 * kGiB);
    // Sizes that would overflow a product.
    const TextBudget huge(UINT64_MAX);
    EXPECT_EQ(huge.renderedLimit(), 4 * kGiB);
    EXPECT_EQ(huge.handedOverLimit(), 4 * kGiB);
}

TEST(TextBudget, FailsOnceATotalHasPassedItsLimit) {
    TextBudget rendered(0);
    rendered.chargeRendered(16 * kMiB);
    try {
        rendered.chargeRendered(1);
        FAIL() << "one byte over must fail";
    } catch (const Failure& failure) {
        EXPECT_EQ(std::string(failure.what()),
                  "The tables of this file are too large to show: their cells would hold more "
                  "than 16 MiB of text (a table nested in tables repeats its cells in every "
                  "table around it).");
    }
    // Each cell handed over costs 8 bytes beyond its text: empty cells count too.
    TextBudget handedOver(0);
    for (std::uint64_t i = 0; i < 2 * kMiB; ++i) {
        handedOver.chargeHandedOver(0);
    }
    EXPECT_THROW(handedOver.chargeHandedOver(0), Failure);
    TextBudget separate(0);
    separate.chargeRendered(16 * kMiB);
    EXPECT_NO_THROW(separate.chargeHandedOver(16 * kMiB - 8));
}

// Counts what the reader hands over.
class CellCounter final : public TableVisitor {
public:
    void beginTable(std::int32_t) override { ++tables; }
    void beginRow(std::int32_t) override {}
    void cell(std::string_view) override { ++cells; }
    void unreadableCell(std::string_view) override { ++cells; }
    void endTable() override {}
    int tables = 0;
    std::uint64_t cells = 0;
};

class KeepReading final : public ParseProgress {
public:
    bool progress(double) override { return true; }
};

std::string nestedTables(int depth, const std::string& inside = "x") {
    std::string html;
    for (int i = 0; i < depth; ++i) {
        html += "<table><tr><td>";
    }
    html += inside;
    for (int i = 0; i < depth; ++i) {
        html += "</td></tr></table>";
    }
    return html;
}

// A chain of nested tables hands over some depth^3/6 cells holding depth^4/24 bytes.
TEST(TextBudget, ChainsOfNestedTablesAreRefusedOrdinaryNestingIsNot) {
    for (const int depth : {200, 1000}) {
        CellCounter counter;
        KeepReading progress;
        EXPECT_THROW(readTablesFromText(nestedTables(depth), counter, progress), Failure) << depth;
    }
    // A layout table around a data table of 20,000 rows, itself around small tables.
    std::string rows;
    for (int i = 0; i < 20000; ++i) {
        rows +=
            "<tr><td>cell " + std::to_string(i) + "</td><td>" + nestedTables(2, "n") + "</td></tr>";
    }
    CellCounter counter;
    KeepReading progress;
    EXPECT_TRUE(readTablesFromText("<table><tr><td><table>" + rows + "</table></table>", counter,
                                   progress));
    EXPECT_EQ(counter.tables, 2 + 2 * 20000);
    // Within the depth the tree nests elements to, a chain still passes.
    CellCounter chain;
    EXPECT_TRUE(readTablesFromText(nestedTables(120), chain, progress));
    EXPECT_EQ(chain.tables, 120);
}

// Each cell around a text renders it again: a long text deep in nested tables is stopped as
// the cells are rendered, before any is handed over (they wait for the outer table's end).
TEST(TextBudget, RenderedTextIsStoppedBeforeAnythingIsHandedOver) {
    const std::string html = nestedTables(100, std::string(kMiB, 'a'));
    const TextBudget budget(html.size());
    CellCounter counter;
    KeepReading progress;
    try {
        readTablesFromText(html, counter, progress);
        FAIL() << "a hundred copies of the text must meet the budget";
    } catch (const Failure& failure) {
        EXPECT_NE(std::string(failure.what())
                      .find(std::to_string(budget.renderedLimit() / kMiB + 1) + " MiB"),
                  std::string::npos)
            << failure.what();
    }
    EXPECT_EQ(counter.cells, 0u);
}

}  // namespace
}  // namespace veltrano::html
