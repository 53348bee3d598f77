#include "tables/table_store.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "join/preview_table.h"
#include "platform/failure.h"
#include "tables/cell_key.h"

namespace veltrano {
namespace {

// One table as the walk would hand it over: rows of cells.
struct Table {
    int number;
    std::vector<std::vector<std::string>> rows;
};

StoredFile build(const std::vector<Table>& tables, std::vector<int>* listed = nullptr) {
    TableStore store;
    store.replaceAll();
    StoredFile file = storedFile(store, 1);
    TableStoreBuilder builder(file);
    for (const Table& table : tables) {
        builder.beginTable(table.number);
        for (const auto& row : table.rows) {
            builder.addRow(static_cast<std::int32_t>(row.size()));
            for (const std::string& cell : row) {
                builder.addCell(cell);
            }
        }
        if (builder.endTable() && listed != nullptr) {
            listed->push_back(table.number);
        }
    }
    return file;
}

std::vector<std::vector<std::string>> readGrid(const PreviewTable& grid) {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < grid.rowCount(); ++row) {
        rows.emplace_back();
        for (int column = 0; column < grid.columnCount(); ++column) {
            rows.back().emplace_back(grid.cell(row, column));
        }
    }
    return rows;
}

TEST(TableStore, TablesWithoutRowsKeepTheirNumbers) {
    std::vector<int> listed;
    const StoredFile file = build({{1, {{"a"}}}, {2, {}}, {3, {{"b", "c"}}}}, &listed);
    EXPECT_EQ(listed, (std::vector<int>{1, 3}));
    ASSERT_EQ(file.rows->count(), 2U);
    ASSERT_EQ(file.columnCounts->count(), 2U);
    EXPECT_EQ(file.columnCounts->item(2), 2);
    EXPECT_EQ(file.cells->item(*CellKey::parse("Table 3_Row 1_1")), "c");
    EXPECT_FALSE(file.cells->exists(*CellKey::parse("Table 2_Row 1_0")));
    EXPECT_THROW(file.rows->item(3), Failure);
    EXPECT_THROW(file.rows->item(0), Failure);
}

TEST(TableStore, ColumnCountIsTheWidestRowsCellCount) {
    using Grid = std::vector<std::vector<std::string>>;
    struct Case {
        const char* name;
        Grid rows;
        int columnCount;
        Grid grid;
    };
    const Case cases[] = {
        {"the widest row last",
         {{"1", "2", "3"}, {"4", "5"}, {"6", "7", "8", "9"}},
         4,
         {{"1", "2", "3", ""}, {"4", "5", "", ""}, {"6", "7", "8", "9"}}},
        {"a one-cell total row last",
         {{"a", "b", "c"}, {"d", "e", "f"}, {"Total"}},
         3,
         {{"a", "b", "c"}, {"d", "e", "f"}, {"Total", "", ""}}},
        {"a last row of header cells", {{"x", "y"}, {}}, 2, {{"x", "y"}, {"", ""}}},
        {"the widest row first",
         {{"a", "b", "c", "d", "e", "f", "g"}, {"h", "i", "j", "k", "l"}},
         7,
         {{"a", "b", "c", "d", "e", "f", "g"}, {"h", "i", "j", "k", "l", "", ""}}},
        {"header cells only", {{}, {}}, 0, {}},
    };
    for (const Case& c : cases) {
        const StoredFile file = build({{1, c.rows}});
        EXPECT_EQ(file.columnCounts->item(1), c.columnCount) << c.name;
        const PreviewTable grid = PreviewTable::choose(file, 0, "Table 1");
        EXPECT_EQ(grid.columnCount(), c.columnCount) << c.name;
        EXPECT_EQ(readGrid(grid), c.grid) << c.name;
    }
}

TEST(TableStore, AHeaderRowIsARowWithoutCells) {
    const StoredFile file = build({{1, {{}, {"E-1", "Ana"}, {"E-2", "Tom"}}}});
    EXPECT_EQ(file.rows->item(1).text(),
              "Row 1||MySeparator123||Row 2||MySeparator123||Row 3||MySeparator123||");
    EXPECT_EQ(readGrid(PreviewTable::choose(file, 0, "Table 1")),
              (std::vector<std::vector<std::string>>{{"", ""}, {"E-1", "Ana"}, {"E-2", "Tom"}}));
}

TEST(TableStore, CellTextsComeBackUnchanged) {
    const std::vector<std::string> texts = {"", "||MySeparator123||", "line\nbreak\r\n",
                                            std::string("nul\0inside", 10), "Gdańsk ✓"};
    const StoredFile file = build({{1, {texts}}});
    for (std::size_t cell = 0; cell < texts.size(); ++cell) {
        const CellKey key{1, 1, static_cast<std::int32_t>(cell)};
        EXPECT_TRUE(file.cells->exists(key)) << cell;
        EXPECT_EQ(file.cells->item(key), texts[cell]) << cell;
    }
    EXPECT_EQ(file.cells->count(), texts.size());
}

TEST(TableStore, MissingKeysReadEmptyAndExistingKeysCannotBeAddedAgain) {
    const StoredFile file = build({{4, {{"a", "b"}}}});
    for (const char* key :
         {"Table 4_Row 1_2", "Table 4_Row 2_0", "Table 5_Row 1_0", "Table 3_Row 1_0"}) {
        EXPECT_EQ(file.cells->item(*CellKey::parse(key)), "") << key;
        EXPECT_FALSE(file.cells->exists(*CellKey::parse(key))) << key;
    }
    EXPECT_THROW(file.cells->add({4, 1, 1}, "again"), Failure);
    EXPECT_THROW(file.cells->add({4, 1, 0}, "again"), Failure);
    EXPECT_EQ(file.cells->item({4, 1, 1}), "b");
}

TEST(TableStore, ASkippedCellStaysMissingAndTheNextKeepsItsIndex) {
    TableStore store;
    store.replaceAll();
    TableStoreBuilder builder(storedFile(store, 2));
    builder.beginTable(1);
    builder.addRow(3);
    builder.addCell("first");
    builder.skipCell();
    builder.addCell("third");
    ASSERT_TRUE(builder.endTable());
    const CellMap& cells = *store.mDicColumns2;
    EXPECT_EQ(cells.item({1, 1, 2}), "third");
    EXPECT_FALSE(cells.exists({1, 1, 1}));
    EXPECT_EQ(store.mColColumnsCount2->item(1), 3);
    EXPECT_EQ(store.mColRows1->count(), 0U);  // file #1 untouched
}

TEST(TableStore, ReplacingTheStoreLeavesSharedCellsAlive) {
    TableStore store;
    store.replaceAll();
    TableStoreBuilder builder(storedFile(store, 1));
    builder.beginTable(1);
    builder.addRow(1);
    builder.addCell("kept");
    builder.endTable();
    const PreviewTable shown = PreviewTable::choose(storedFile(store, 1), 0, "Table 1");
    store.replaceAll();
    EXPECT_EQ(shown.cell(0, 0), "kept");
    EXPECT_EQ(store.mDicColumns1->count(), 0U);
}

TEST(CellKey, OnlyTheExactTextFormIsAKey) {
    EXPECT_EQ(CellKey({12, 3, 0}).text(), "Table 12_Row 3_0");
    EXPECT_EQ(CellKey::parse("Table 12_Row 3_0"), (CellKey{12, 3, 0}));
    for (const char* text : {"table 1_Row 1_0", "Table 01_Row 1_0", "Table 1_Row 1_00",
                             "Table  1_Row 1_0", "Table 1_Row 1_0 ", "Table 1_Row +1_0",
                             "Table 1_Row 1", "Table 1_row 1_0", "Table 99999999999_Row 1_0", ""}) {
        EXPECT_FALSE(CellKey::parse(text)) << text;
    }
    EXPECT_EQ(parseTableLabel("Table 3"), 3);
    EXPECT_FALSE(parseTableLabel("Table 3 "));
}

TEST(CellMap, KeepsLongAndManyTextsAcrossArenaBlocks) {
    std::mt19937 random(7);
    std::vector<std::vector<std::string>> rows(3000);
    for (auto& row : rows) {
        const int cells = static_cast<int>(random() % 12);
        for (int cell = 0; cell < cells; ++cell) {
            const std::size_t length = random() % 50 == 0 ? random() % 300000 : random() % 40;
            row.push_back(std::string(length, static_cast<char>('a' + random() % 26)));
        }
    }
    rows[17].push_back(std::string(3u << 20, 'z'));  // one cell larger than a block
    const StoredFile file = build({{1, rows}});
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t cell = 0; cell < rows[row].size(); ++cell) {
            const CellKey key{1, static_cast<std::int32_t>(row + 1),
                              static_cast<std::int32_t>(cell)};
            ASSERT_EQ(file.cells->item(key), rows[row][cell]) << key.text();
        }
    }
}

}  // namespace
}  // namespace veltrano
