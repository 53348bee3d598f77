#include "tables/extraction.h"

#include <memory>
#include <utility>

#include "platform/html/html_document.h"
#include "platform/html/rendered_text.h"
#include "platform/html/table_walk.h"

namespace veltrano {

namespace {

// How far one file's work has come once it is read and parsed: that takes most of the time.
constexpr double kParsed = 0.85;
// How often the walk asks whether to go on, in rows.
constexpr std::size_t kRowsPerCheck = 4096;

void reportProgress(ProgressReport& progress, double fraction) {
    if (!progress.progress(fraction)) {
        throw ExtractionCancelled();
    }
}

// Puts what the document walk finds into a table sink, one guarded step per cell and per
// table, keeping each cell's rendered text only as long as the sink takes to store it.
class SinkFiller final : public html::TableVisitor {
public:
    SinkFiller(const WalkLines& lines, TableSink& sink, FailureSink& failures,
               ProgressReport& progress)
        : mLines(lines), mSink(sink), mSteps(failures), mProgress(progress) {}

    void beginTable(std::int32_t tableNumber) override {
        mTable = tableNumber;
        mSink.beginTable(tableNumber);
    }

    void beginRow(std::int32_t cellCount) override {
        mSink.addRow(cellCount);
        if (++mRows % kRowsPerCheck == 0) {
            reportProgress(mProgress, kParsed);
        }
    }

    void cell(const html::CellRef& cell) override {
        if (!mSteps.step(mLines.addCell, [&] { mSink.addCell(mRenderer.text(cell)); })) {
            mSink.skipCell();
        }
    }

    void endTable() override {
        mSteps.step(mLines.appendRowList, [&] {
            if (mSink.endTable()) {
                mListed.push_back(mTable);
            }
        });
    }

    std::vector<std::int32_t> takeListed() { return std::move(mListed); }

private:
    const WalkLines& mLines;
    TableSink& mSink;
    GuardedSteps mSteps;
    ProgressReport& mProgress;
    html::RenderedText mRenderer;
    std::vector<std::int32_t> mListed;
    std::int32_t mTable = 0;
    std::size_t mRows = 0;
};

}  // namespace

ExtractedFile extractTables(const std::string& path, const WalkLines& lines,
                            ProgressReport& progress) {
    reportProgress(progress, 0);
    const std::unique_ptr<html::HtmlDocument> document =
        html::HtmlDocument::load(path, kMaximumFileBytes);
    reportProgress(progress, kParsed);

    ExtractedFile file;
    file.tables = {std::make_shared<RowLists>(), std::make_shared<ColumnCounts>(),
                   std::make_shared<CellMap>()};
    TableStoreBuilder builder(file.tables);
    file.listedTables = walkTables(*document, lines, builder, file.failures, progress);
    return file;
}

std::vector<std::int32_t> walkTables(const html::HtmlDocument& document, const WalkLines& lines,
                                     TableSink& sink, FailureSink& failures,
                                     ProgressReport& progress) {
    SinkFiller filler(lines, sink, failures, progress);
    html::walkTables(document, filler);
    reportProgress(progress, 1);
    return filler.takeListed();
}

}  // namespace veltrano
