// Builds a store of 1,000,000 rows x 20 cells through the builder, then runs the table choice
// for it with a real preview grid (offscreen), and prints times and memory.
#include <QApplication>

#include <cstdio>
#include <string>

#include "bench_support.h"
#include "join/preview_grid.h"
#include "join/preview_table.h"
#include "tables/table_store.h"

using namespace veltrano;

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    constexpr int kRows = 1'000'000;
    constexpr int kCells = 20;

    TableStore store;
    store.replaceAll();
    const double baseline = bench::peakMegabytes();
    bench::Stopwatch building;
    TableStoreBuilder builder(storedFile(store, 1));
    builder.beginTable(1);
    std::size_t textBytes = 0;
    std::string text;
    for (int row = 1; row <= kRows; ++row) {
        builder.addRow(kCells);
        for (int cell = 0; cell < kCells; ++cell) {
            // Short, varied texts like real tables: codes, names, amounts.
            text = cell == 0 ? "ID-" + std::to_string(row)
                             : "r" + std::to_string(row % 977) + "c" + std::to_string(cell);
            textBytes += text.size();
            builder.addCell(text);
        }
    }
    builder.endTable();
    const double buildSeconds = building.seconds();
    const double storeMegabytes = store.mDicColumns1->bytesReserved() / 1e6;

    PreviewGrid grid(nullptr);
    grid.resize(520, 90);
    grid.show();
    QApplication::processEvents();
    bench::Stopwatch choosing;
    grid.setTable(PreviewTable::choose(storedFile(store, 1), 0, "Table 1"));
    QApplication::processEvents();  // the grid lays out and paints its first rows
    const double chooseSeconds = choosing.seconds();
    bench::Stopwatch scrolling;
    for (int step = 0; step < 200; ++step) {
        grid.scrollTo(grid.model()->index(step * 4999, 0));
        grid.viewport()->repaint();
    }
    const double scrollSeconds = scrolling.seconds();

    std::printf("store: %d rows x %d cells, %.1f MB of cell text\n", kRows, kCells,
                textBytes / 1e6);
    std::printf("  build through the builder: %.2f s\n", buildSeconds);
    std::printf("  store size: %.1f MB = %.2f x the cell text (target under 2.5 x)\n",
                storeMegabytes, storeMegabytes / (textBytes / 1e6));
    std::printf("  table choice with a real grid: %.3f s (target under 0.2 s)\n", chooseSeconds);
    std::printf("  200 jumps across the grid, repainted: %.3f s\n", scrollSeconds);
    std::printf("  peak memory: %.1f MB (%.1f MB before the store)\n", bench::peakMegabytes(),
                baseline);
    return 0;
}
