#include "tables/extraction.h"

#include <memory>

#include "platform/html/html_document.h"
#include "platform/html/rendered_text.h"

namespace veltrano {

namespace {

// Stages of one file's work, as parts of its progress.
constexpr double kReadAndParsed = 0.5;
// How often the walk tells its progress, in rows.
constexpr std::size_t kRowsPerReport = 4096;

void reportProgress(ProgressReport& progress, double fraction) {
    if (!progress.progress(fraction)) {
        throw ExtractionCancelled();
    }
}

}  // namespace

ExtractedFile extractTables(const std::string& path, const WalkLines& lines,
                            ProgressReport& progress) {
    reportProgress(progress, 0);
    const std::unique_ptr<html::HtmlDocument> document =
        html::HtmlDocument::load(path, kMaximumFileBytes);
    reportProgress(progress, kReadAndParsed);
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
    std::vector<std::int32_t> listed;
    GuardedSteps steps(failures);
    html::RenderedText renderer;

    // Each table's rows and each row's cells are listed once and kept while they are walked.
    const html::ElementList tables = document.getElementsByTagName("table");
    std::size_t rowsWalked = 0;
    for (std::size_t table = 0; table < tables.length(); ++table) {
        const auto tableNumber = static_cast<std::int32_t>(table + 1);
        sink.beginTable(tableNumber);
        const html::ElementList rows = tables.item(table).getElementsByTagName("tr");
        for (std::size_t row = 0; row < rows.length(); ++row) {
            const html::ElementList cells = rows.item(row).getElementsByTagName("td");
            sink.addRow(static_cast<std::int32_t>(cells.length()));
            for (std::size_t cell = 0; cell < cells.length(); ++cell) {
                if (!steps.step(lines.addCell,
                                [&] { sink.addCell(renderer.text(cells.item(cell))); })) {
                    sink.skipCell();
                }
            }
            if (++rowsWalked % kRowsPerReport == 0) {
                reportProgress(progress, kReadAndParsed + (1 - kReadAndParsed) *
                                                              static_cast<double>(table) /
                                                              static_cast<double>(tables.length()));
            }
        }
        steps.step(lines.appendRowList, [&] {
            if (sink.endTable()) {
                listed.push_back(tableNumber);
            }
        });
    }
    reportProgress(progress, 1);
    return listed;
}

}  // namespace veltrano
