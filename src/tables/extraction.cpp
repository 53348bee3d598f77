#include "tables/extraction.h"

#include <memory>
#include <utility>

#include "platform/failure.h"
#include "platform/html/document_tables.h"
#include "platform/html/table_walk.h"

namespace veltrano {

namespace {

void reportProgress(ProgressReport& progress, double fraction) {
    if (!progress.progress(fraction)) {
        throw ExtractionCancelled();
    }
}

// The extraction's progress as the HTML layer reports it.
class ParseProgressAdapter final : public html::ParseProgress {
public:
    explicit ParseProgressAdapter(ProgressReport& report) : mReport(report) {}
    bool progress(double fraction) override { return mReport.progress(fraction); }

private:
    ProgressReport& mReport;
};

// Puts the tables the document reader hands over into a table sink, one guarded step per
// cell and per table.
class SinkFiller final : public html::TableVisitor {
public:
    SinkFiller(const WalkLines& lines, TableSink& sink, FailureSink& failures)
        : mLines(lines), mSink(sink), mSteps(failures) {}

    void beginTable(std::int32_t tableNumber) override {
        mTable = tableNumber;
        mSink.beginTable(tableNumber);
    }

    void beginRow(std::int32_t cellCount) override { mSink.addRow(cellCount); }

    void cell(std::string_view text) override {
        if (!mSteps.step(mLines.addCell, [&] { mSink.addCell(text); })) {
            mSink.skipCell();
        }
    }

    void unreadableCell(std::string_view reason) override {
        mSteps.step(mLines.addCell, [&] { throw Failure(std::string(reason)); });
        mSink.skipCell();
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
    std::vector<std::int32_t> mListed;
    std::int32_t mTable = 0;
};

// Fresh containers for one file, and the builder that fills them.
struct FreshFile {
    ExtractedFile file;
    TableStoreBuilder builder;

    FreshFile()
        : file{{std::make_shared<RowLists>(), std::make_shared<ColumnCounts>(),
                std::make_shared<CellMap>()},
               {},
               {}},
          builder(file.tables) {}
};

}  // namespace

ExtractedFile extractTables(const std::string& path, const WalkLines& lines,
                            ProgressReport& progress) {
    reportProgress(progress, 0);
    FreshFile fresh;
    SinkFiller filler(lines, fresh.builder, fresh.file.failures);
    ParseProgressAdapter adapter(progress);
    if (!html::readTables(path, kMaximumFileBytes, filler, adapter)) {
        throw ExtractionCancelled();
    }
    reportProgress(progress, 1);
    fresh.file.listedTables = filler.takeListed();
    return std::move(fresh.file);
}

std::vector<std::int32_t> extractTablesFromText(std::string html, const WalkLines& lines,
                                                TableSink& sink, FailureSink& failures,
                                                ProgressReport& progress) {
    SinkFiller filler(lines, sink, failures);
    ParseProgressAdapter adapter(progress);
    if (!html::readTablesFromText(std::move(html), filler, adapter)) {
        throw ExtractionCancelled();
    }
    reportProgress(progress, 1);
    return filler.takeListed();
}

}  // namespace veltrano
