#include "join/grid_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veltrano {
namespace {

class Rows final : public GridSource {
public:
    Rows(int columns, std::vector<std::vector<std::string>> rows)
        : mColumns(columns), mRows(std::move(rows)) {}
    int rowCount() const override { return static_cast<int>(mRows.size()); }
    int columnCount() const override { return mColumns; }
    std::string_view cell(int row, int column) const override {
        return mRows.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
    }

private:
    int mColumns;
    std::vector<std::vector<std::string>> mRows;
};

TEST(GridText, SelectedRowsAreOneTabSeparatedLineEach) {
    const Rows grid(3, {{"E-1", "Ana", "Lisbon"},
                        {"E-2", "", "Gdańsk ✓"},
                        {"a\tb", "line\nbreak", "crlf\r\nend\r"},
                        {"", "", ""}});
    struct Case {
        const char* name;
        std::vector<int> rows;
        std::string text;
    };
    const Case cases[] = {
        {"nothing selected", {}, ""},
        {"one row", {0}, "E-1\tAna\tLisbon\n"},
        {"rows in grid order, empty and multi-byte cells kept",
         {0, 1},
         "E-1\tAna\tLisbon\nE-2\t\tGdańsk ✓\n"},
        {"tabs and line breaks in cells become blanks", {2}, "a b\tline break\tcrlf end \n"},
        {"a row of empty cells is still a line", {3}, "\t\t\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tabSeparatedRows(grid, c.rows), c.text) << c.name;
    }
    EXPECT_EQ(tabSeparatedRows(Rows(0, {{}, {}}), std::vector<int>{0, 1}), "\n\n");
}

}  // namespace
}  // namespace veltrano
