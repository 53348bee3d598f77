#include "join/join_command.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "join/grid_source.h"
#include "join/join_setup_view.h"
#include "join/path_helpers.h"
#include "join/result_document.h"
#include "shell/failure_report.h"
#include "shell/guarded_steps.h"
#include "shell/messages.h"

namespace veltrano {
namespace {

constexpr std::string_view kFolderMissingMessage =
    "Folder does not exist. Please select another folder.";
constexpr std::string_view kNoCommonColumn1Message =
    "You must select first common columns for file #1.";
constexpr std::string_view kNoCommonColumn2Message =
    "You must select first common columns for file #2.";
constexpr std::string_view kDoneMessage = "Done.";
constexpr std::string_view kResultFileName = "joined.html";

// Step numbers of writing one grid's data cells of a row: reading its column count, a cell
// from the row's own text (column 0), a cell from a sub-item.
struct DataCellLines {
    int columns;
    int rowText;
    int subItem;
};

// Step numbers of writing one grid's filler cells: reading its column count, a filler cell.
struct FillerCellLines {
    int columns;
    int filler;
};

struct AppendLines {
    int rowStart;
    DataCellLines cells;
    int rowEnd;
};

constexpr AppendLines kAppendGrid1Lines{136, {138, 142, 144}, 148};
constexpr AppendLines kAppendGrid2Lines{154, {156, 160, 162}, 166};
constexpr DataCellLines kJoinGrid1Cells{184, 188, 190};
constexpr FillerCellLines kJoinGrid1Fillers{194, 196};
constexpr DataCellLines kJoinGrid2Cells{202, 208, 210};
constexpr FillerCellLines kJoinGrid2Fillers{214, 216};
constexpr int kNoColumn = -1;

std::size_t writtenColumnCount(int columns, int skipColumn) {
    const bool skips = skipColumn >= 0 && skipColumn < columns;
    return static_cast<std::size_t>(std::max(columns, 0) - (skips ? 1 : 0));
}

// Bytes the data cells of a grid's first `rows` rows take, without skipColumn: measured on
// rows spread evenly over them and scaled up, with a sixteenth to spare, so that sizing costs
// little next to writing. Exact for grids of up to kSampledRows rows. A short estimate costs
// a reallocation, a long one only address space: pages never written are never touched.
std::size_t estimatedDataCellsSize(const GridSource& grid, int rows, int skipColumn) {
    constexpr int kSampledRows = 4096;
    const int samples = std::min(rows, kSampledRows);
    if (samples <= 0) {
        return 0;
    }
    const int columns = grid.columnCount();
    std::size_t sampled = 0;
    for (int sample = 0; sample < samples; ++sample) {
        const auto row = static_cast<int>(static_cast<long long>(sample) * rows / samples);
        for (int column = 0; column < columns; ++column) {
            if (column != skipColumn) {
                sampled += ResultDocument::dataCellSize(grid.cell(row, column));
            }
        }
    }
    if (samples == rows) {
        return sampled;
    }
    const auto scaled = static_cast<std::size_t>(static_cast<double>(sampled) / samples * rows);
    return scaled + scaled / 16;
}

class ClearOnExit final {
public:
    explicit ClearOnExit(bool& flag) : mFlag(flag) {}
    ~ClearOnExit() { mFlag = false; }
    ClearOnExit(const ClearOnExit&) = delete;
    ClearOnExit& operator=(const ClearOnExit&) = delete;

private:
    bool& mFlag;
};

// Writes the rows of one run into its document, each statement a guarded step. The grids,
// the document and the steps belong to the run and outlive the writer.
class RowWriter final {
public:
    RowWriter(GuardedSteps& steps, ResultDocument& document, const GridSource& grid1,
              const GridSource& grid2, int rows1, int rows2)
        : mSteps(steps),
          mDocument(document),
          mGrid1(grid1),
          mGrid2(grid2),
          mRows1(rows1),
          mRows2(rows2) {}

    // Grid 1's rows, then grid 2's, each as wide as its own grid.
    void appendRows() {
        reserveRows([&] {
            return (static_cast<std::size_t>(mRows1) + mRows2) * ResultDocument::kRowFrameSize +
                   estimatedDataCellsSize(mGrid1, mRows1, kNoColumn) +
                   estimatedDataCellsSize(mGrid2, mRows2, kNoColumn);
        });
        appendGridRows(mGrid1, mRows1, kAppendGrid1Lines);
        appendGridRows(mGrid2, mRows2, kAppendGrid2Lines);
    }

    // Row i of grid 1 beside row i of grid 2 without its column skipColumn2, paired by
    // position alone; the shorter grid's part of the remaining rows is filler cells.
    void joinRows(int skipColumn2) {
        const int rows = std::max(mRows1, mRows2);
        reserveRows([&] {
            const auto fillerCellsSize = [&](int gridRows, std::size_t columns) {
                return static_cast<std::size_t>(rows - gridRows) * columns *
                       ResultDocument::kFillerCellSize;
            };
            return static_cast<std::size_t>(rows) * ResultDocument::kRowFrameSize +
                   estimatedDataCellsSize(mGrid1, mRows1, kNoColumn) +
                   fillerCellsSize(mRows1, writtenColumnCount(mGrid1.columnCount(), kNoColumn)) +
                   estimatedDataCellsSize(mGrid2, mRows2, skipColumn2) +
                   fillerCellsSize(mRows2, writtenColumnCount(mGrid2.columnCount(), skipColumn2));
        });
        for (int row = 0; row < rows; ++row) {
            mSteps.step(180, [&] { mDocument.appendRowStart(); });
            if (row < mRows1) {
                dataCells(mGrid1, row, kNoColumn, kJoinGrid1Cells);
            } else {
                fillerCells(mGrid1, kNoColumn, kJoinGrid1Fillers);
            }
            if (row < mRows2) {
                dataCells(mGrid2, row, skipColumn2, kJoinGrid2Cells);
            } else {
                fillerCells(mGrid2, skipColumn2, kJoinGrid2Fillers);
            }
            mSteps.step(220, [&] { mDocument.appendRowEnd(); });
        }
    }

private:
    // Reserving only spares reallocations and is no step of its own: whatever fails here fails
    // again, and is reported, at the step that meets it.
    template <class RowBytes>
    void reserveRows(RowBytes&& rowBytes) {
        try {
            mDocument.reserveRows(rowBytes());
        } catch (...) {
        }
    }

    void appendGridRows(const GridSource& grid, int rows, const AppendLines& lines) {
        for (int row = 0; row < rows; ++row) {
            mSteps.step(lines.rowStart, [&] { mDocument.appendRowStart(); });
            dataCells(grid, row, kNoColumn, lines.cells);
            mSteps.step(lines.rowEnd, [&] { mDocument.appendRowEnd(); });
        }
    }

    void dataCells(const GridSource& grid, int row, int skipColumn, const DataCellLines& lines) {
        int columns = 0;
        mSteps.step(lines.columns, [&] { columns = grid.columnCount(); });
        for (int column = 0; column < columns; ++column) {
            if (column != skipColumn) {
                mSteps.step(column == 0 ? lines.rowText : lines.subItem,
                            [&] { mDocument.appendDataCell(grid.cell(row, column)); });
            }
        }
    }

    void fillerCells(const GridSource& grid, int skipColumn, const FillerCellLines& lines) {
        int columns = 0;
        mSteps.step(lines.columns, [&] { columns = grid.columnCount(); });
        for (int column = 0; column < columns; ++column) {
            if (column != skipColumn) {
                mSteps.step(lines.filler, [&] { mDocument.appendFillerCell(); });
            }
        }
    }

    GuardedSteps& mSteps;
    ResultDocument& mDocument;
    const GridSource& mGrid1;
    const GridSource& mGrid2;
    int mRows1;
    int mRows2;
};

}  // namespace

void JoinCommand::run() {
    if (mJoinRunning) {
        return;
    }
    FailureReporter reporter(mMessages, locationText("Form2", "PushButton6_Click"));
    GuardedSteps steps(reporter);
    mJoinRunning = true;
    // Cleared on every way out, so the button never stays dead.
    const ClearOnExit clearRunning(mJoinRunning);

    if (steps.test(104, [&] { return FolderExists(mView.outputFolderText()); })) {
        int rows1 = 0;
        int rows2 = 0;
        steps.step(112, [&] { rows1 = mView.grid1().rowCount(); });
        steps.step(114, [&] { rows2 = mView.grid2().rowCount(); });
        if (steps.test(120, [&] {
                return mView.isJoinModeSelected() &&
                       (mView.commonColumn1() < 0 || mView.commonColumn2() < 0);
            })) {
            if (steps.test(122, [&] { return mView.commonColumn1() < 0; })) {
                steps.step(124, [&] { mMessages.showPlain(kNoCommonColumn1Message); });
            }
            if (steps.test(126, [&] { return mView.commonColumn2() < 0; })) {
                steps.step(128, [&] { mMessages.showPlain(kNoCommonColumn2Message); });
            }
        } else {
            ResultDocument document;
            steps.step(130, [&] { document.appendHead(); });
            RowWriter rows(steps, document, mView.grid1(), mView.grid2(), rows1, rows2);
            if (steps.test(132, [&] { return mView.isAppendModeSelected(); })) {
                rows.appendRows();
            } else if (steps.test(170, [&] { return mView.isJoinModeSelected(); })) {
                // Combo4 cannot change during a run: read once, under the step that tests it.
                int skipColumn2 = kNoColumn;
                steps.step(204, [&] { skipColumn2 = mView.commonColumn2(); });
                rows.joinRows(skipColumn2);
            }
            steps.step(224, [&] { document.appendTail(); });

            std::string path;
            steps.step(226, [&] {
                path = mView.outputFolderText() + kPathSeparator + std::string(kResultFileName);
            });
            steps.step(228, [&] { path = NormalizePath(path); });
            // Other events, a second click among them, are handled here; the earlier result
            // file stays in place until the new one is complete.
            steps.step(230, [&] { mView.processPendingEvents(); });
            if (steps.step(232, [&] { WriteTextFile(document.bytes(), path); })) {
                steps.step(236, [&] { mMessages.showPlain(kDoneMessage); });
            }
        }
    } else {
        steps.step(240, [&] { mMessages.showPlain(kFolderMissingMessage); });
    }
}

}  // namespace veltrano
