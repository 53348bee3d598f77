// Joins and appends two in-memory grids of 1,000,000 rows x 10 columns into joined.html in a
// fresh temporary folder and prints time, output rate and peak memory. Each mode runs in its
// own child process so that each peak is its own; the peak includes the two grids. Runs after
// the first replace the previous run's joined.html, as a second click would.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench_support.h"
#include "join/grid_source.h"
#include "join/join_command.h"
#include "join/join_setup_view.h"
#include "platform/file_system.h"
#include "shell/messages.h"

namespace {

using veltrano::GridSource;

constexpr int kRows = 1'000'000;
constexpr int kColumns = 10;
constexpr int kRuns = 3;

// All cell texts in one arena; cell k spans [mEnds[k - 1], mEnds[k]).
class ArenaGrid final : public GridSource {
public:
    ArenaGrid(int rows, int columns, std::uint32_t seed) : mRows(rows), mColumns(columns) {
        const auto cells = static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns);
        mText.reserve(cells * 9);
        mEnds.reserve(cells);
        std::uint32_t state = seed;
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                state = state * 1664525u + 1013904223u;
                appendCellText(row, column, state >> 8);
                mEnds.push_back(static_cast<std::uint32_t>(mText.size()));
            }
        }
    }

    int rowCount() const override { return mRows; }
    int columnCount() const override { return mColumns; }
    std::string_view cell(int row, int column) const override {
        const std::size_t k = static_cast<std::size_t>(row) * mColumns + column;
        const std::uint32_t begin = k == 0 ? 0 : mEnds[k - 1];
        return std::string_view(mText).substr(begin, mEnds[k] - begin);
    }

    std::size_t memoryBytes() const { return mText.size() + mEnds.size() * sizeof(std::uint32_t); }

private:
    // Short texts of the kinds real tables hold; about one cell in 25 has "&", "<" or a
    // non-ASCII character, one in 200 a character outside windows-1252.
    void appendCellText(int row, int column, std::uint32_t random) {
        static constexpr std::string_view kWords[] = {
            "Smith",  "Jones",    "Brown", "Taylor", "Wilson", "Evans",   "Thomas", "Roberts",
            "Walker", "Robinson", "Wood",  "Clarke", "Hughes", "Edwards", "Green",  "Hall"};
        static constexpr std::string_view kSpecial[] = {"Smith & Sons", "a<b",  "Müller", "Café",
                                                        "Zürich",       "€ 12", "B&Q",    "Dvořák"};
        if (column == 0) {
            mText += 'R';
            mText += std::to_string(row);
        } else if (random % 25 == 0) {
            mText += kSpecial[(random / 25) % 8];
        } else if (column % 2 == 0) {
            mText += std::to_string(random % 100000);
            mText += ".5";
        } else {
            mText += kWords[random % 16];
        }
    }

    int mRows;
    int mColumns;
    std::string mText;
    std::vector<std::uint32_t> mEnds;
};

class BenchView final : public veltrano::JoinSetupView {
public:
    BenchView(std::string folder, bool join, const GridSource& grid1, const GridSource& grid2)
        : mFolder(std::move(folder)), mJoin(join), mGrid1(grid1), mGrid2(grid2) {}
    std::string outputFolderText() const override { return mFolder; }
    bool isAppendModeSelected() const override { return !mJoin; }
    bool isJoinModeSelected() const override { return mJoin; }
    int commonColumn1() const override { return 0; }
    int commonColumn2() const override { return 0; }
    const GridSource& grid1() const override { return mGrid1; }
    const GridSource& grid2() const override { return mGrid2; }
    void processPendingEvents() override {}

private:
    std::string mFolder;
    bool mJoin;
    const GridSource& mGrid1;
    const GridSource& mGrid2;
};

class PrintedMessages final : public veltrano::Messages {
public:
    void showPlain(std::string_view text) override {
        if (text != "Done.") {
            std::printf("message: %.*s\n", static_cast<int>(text.size()), text.data());
        }
    }
    void showFailure(std::string_view text) override {
        std::printf("failure: %.*s\n", static_cast<int>(text.size()), text.data());
    }
};

// The real file system, timing the one write so that building and writing show apart.
class TimedFileSystem final : public veltrano::platform::FileSystem {
public:
    bool canQueryModificationTime(const std::string& path) override {
        return mReal.canQueryModificationTime(path);
    }
    bool isDirectory(const std::string& path) override { return mReal.isDirectory(path); }
    std::string readFile(const std::string& path, std::uint64_t maxBytes) override {
        return mReal.readFile(path, maxBytes);
    }
    std::unique_ptr<veltrano::platform::FileWriter> createNewFile(const std::string& folder,
                                                                  std::string_view prefix,
                                                                  std::string& path) override {
        mWriting.emplace();
        return mReal.createNewFile(folder, prefix, path);
    }
    void replaceFile(const std::string& from, const std::string& to) override {
        mReal.replaceFile(from, to);
    }
    // The write ends when the folder is synced.
    void syncFolder(const std::string& folder) override {
        mReal.syncFolder(folder);
        mWriteSeconds = mWriting->seconds();
    }
    bool removeFile(const std::string& path) override { return mReal.removeFile(path); }

    double writeSeconds() const { return mWriteSeconds; }

private:
    veltrano::platform::FileSystem& mReal = veltrano::platform::realFileSystem();
    std::optional<veltrano::bench::Stopwatch> mWriting;
    double mWriteSeconds = 0;
};

// In the unit of bench::peakMegabytes.
double megabytes(std::uintmax_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

int runMode(const std::string& folder, bool join) {
    const ArenaGrid grid1(kRows, kColumns, 1);
    const ArenaGrid grid2(kRows, kColumns, 2);
    BenchView view(folder, join, grid1, grid2);
    PrintedMessages messages;
    veltrano::JoinCommand command(view, messages);
    TimedFileSystem files;
    const veltrano::platform::ScopedFileSystem useTimedFiles(files);
    const char* const mode = join ? "join" : "append";

    std::uintmax_t outputBytes = 0;
    for (int run = 1; run <= kRuns; ++run) {
        // Earlier runs' files are flushed first, so that their write-back does not compete.
        ::sync();
        const veltrano::bench::Stopwatch running;
        command.run();
        const double seconds = running.seconds();
        outputBytes = std::filesystem::file_size(std::filesystem::path(folder) / "joined.html");
        std::printf("%-6s run %d: %.3f s (writing the file %.3f s), %.0f MB/s\n", mode, run,
                    seconds, files.writeSeconds(), megabytes(outputBytes) / seconds);
    }
    const double peak = veltrano::bench::peakMegabytes();
    std::printf("%-6s output %.1f MB; peak memory %.1f MB = %.2fx output (grids %.1f MB)\n", mode,
                megabytes(outputBytes), peak, peak / megabytes(outputBytes),
                megabytes(grid1.memoryBytes() + grid2.memoryBytes()));
    return 0;
}

}  // namespace

int main() {
    const std::filesystem::path root = std::filesystem::temp_directory_path();
    int status = 0;
    for (const bool join : {true, false}) {
        std::string folder = (root / "join_bench.XXXXXX").string();
        if (mkdtemp(folder.data()) == nullptr) {
            std::perror("mkdtemp");
            return 1;
        }
        std::fflush(stdout);
        const pid_t child = fork();
        if (child == 0) {
            const int result = runMode(folder, join);
            std::fflush(stdout);
            std::_Exit(result);
        }
        int childStatus = 1;
        waitpid(child, &childStatus, 0);
        status |= childStatus;
        std::filesystem::remove_all(folder);
    }
    return status == 0 ? 0 : 1;
}
