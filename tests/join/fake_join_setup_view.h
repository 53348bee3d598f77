#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "join/grid_source.h"
#include "join/join_setup_view.h"
#include "platform/failure.h"
#include "shell/messages.h"

namespace veltrano {

// Splits "a1 a2|b1 b2" into rows at "|" and cells at " "; empty cells are kept.
inline std::vector<std::vector<std::string>> splitRows(std::string_view rows) {
    std::vector<std::vector<std::string>> split;
    for (std::size_t start = 0; !rows.empty() && start <= rows.size();) {
        const std::size_t end = std::min(rows.find('|', start), rows.size());
        split.emplace_back(1);
        for (const char c : rows.substr(start, end - start)) {
            if (c == ' ') {
                split.back().emplace_back();
            } else {
                split.back().back() += c;
            }
        }
        start = end + 1;
    }
    return split;
}

// A preview grid `columns` wide holding rows written as for splitRows. One cell can fail.
class TableGrid final : public GridSource {
public:
    TableGrid(int columns, std::string_view rows) : mColumns(columns), mRows(splitRows(rows)) {}

    int rowCount() const override { return static_cast<int>(mRows.size()); }
    int columnCount() const override { return mColumns; }
    std::string_view cell(int row, int column) const override {
        if (row == mFailingRow && column == mFailingColumn) {
            throw Failure("Cell unavailable");
        }
        return mRows.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
    }
    void failAt(int row, int column) {
        mFailingRow = row;
        mFailingColumn = column;
    }

private:
    int mColumns;
    std::vector<std::vector<std::string>> mRows;
    int mFailingRow = -1;
    int mFailingColumn = -1;
};

struct RecordingMessages final : Messages {
    std::vector<std::string> plain;
    std::vector<std::string> failures;
    void showPlain(std::string_view text) override { plain.emplace_back(text); }
    void showFailure(std::string_view text) override { failures.emplace_back(text); }
};

// The join setup window's choices as plain fields; onEvents runs in the event pass.
struct FakeJoinSetupView final : JoinSetupView {
    std::string folder;
    bool appendMode = false;
    bool joinMode = false;
    int column1 = -1;
    int column2 = -1;
    TableGrid table1{0, ""};
    TableGrid table2{0, ""};
    std::function<void()> onEvents;

    std::string outputFolderText() const override { return folder; }
    bool isAppendModeSelected() const override { return appendMode; }
    bool isJoinModeSelected() const override { return joinMode; }
    int commonColumn1() const override { return column1; }
    int commonColumn2() const override { return column2; }
    const GridSource& grid1() const override { return table1; }
    const GridSource& grid2() const override { return table2; }
    void processPendingEvents() override {
        if (onEvents) {
            onEvents();
        }
    }
};

}  // namespace veltrano
