#include "tables/extraction.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "scratch_folder.h"

namespace veltrano {
namespace {

class KeepGoing final : public ProgressReport {
public:
    bool progress(double fraction) override {
        fractions.push_back(fraction);
        return fractions.size() < stopAfter;
    }
    std::vector<double> fractions;
    std::size_t stopAfter = SIZE_MAX;
};

// Records the walk as text, "T1 R2 c:a c:b !" per table, row and cell; can fail on request.
class RecordingSink final : public TableSink {
public:
    void beginTable(std::int32_t tableNumber) override { log += "T" + std::to_string(tableNumber); }
    void addRow(std::int32_t cellCount) override { log += " R" + std::to_string(cellCount); }
    void addCell(std::string_view text) override {
        if (failOnCell == ++cells) {
            throw std::runtime_error("cell refused");
        }
        log += " c:" + std::string(text);
    }
    void skipCell() override { log += " skip"; }
    bool endTable() override {
        log += failOnEnd ? " !" : " ;";
        if (failOnEnd) {
            throw std::runtime_error("table refused");
        }
        return log.find(" R", log.rfind('T')) != std::string::npos;
    }
    std::string log;
    int cells = 0;
    int failOnCell = 0;
    bool failOnEnd = false;
};

std::string walk(const std::string& html, RecordingSink& sink, FailureLog& failures,
                 std::vector<std::int32_t>* listed = nullptr, const WalkLines& lines = kFile1Walk) {
    KeepGoing progress;
    const auto tables = extractTablesFromText(html, lines, sink, failures, progress);
    if (listed != nullptr) {
        *listed = tables;
    }
    return sink.log;
}

TEST(Extraction, WalksTablesRowsAndCellsInDocumentOrder) {
    struct Case {
        const char* name;
        const char* html;
        const char* walk;
        std::vector<std::int32_t> listed;
    };
    const Case cases[] = {
        {"a table without rows keeps its number",
         "<table><tr><td>a</td></tr></table><table></table><table><tr><td>b</td></table>",
         "T1 R1 c:a ;T2 ;T3 R1 c:b ;",
         {1, 3}},
        {"header cells are not cells, the row still counts",
         "<table><tr><th>H</th><th>I</th><tr><td>1<td>2</table>",
         "T1 R0 R2 c:1 c:2 ;",
         {1}},
        {"nested rows and cells belong to the outer table too",
         "<table><tr><td>x</td><td><table><tr><td>in</td></tr></table></td></tr></table>",
         "T1 R3 c:x c:in c:in R1 c:in ;T2 R1 c:in ;",
         {1, 2}},
        {"no tables at all", "<p>plain text</p>", "", {}},
        {"implied tbody and end tags",
         "<table><tr><td>a<td>b<tr><td>c</table>",
         "T1 R2 c:a c:b R1 c:c ;",
         {1}},
    };
    for (const Case& c : cases) {
        RecordingSink sink;
        FailureLog failures;
        std::vector<std::int32_t> listed;
        EXPECT_EQ(walk(c.html, sink, failures, &listed), c.walk) << c.name;
        EXPECT_EQ(listed, c.listed) << c.name;
        EXPECT_TRUE(failures.entries().empty()) << c.name;
    }
}

TEST(Extraction, AFailedCellIsReportedAndTheWalkGoesOn) {
    const std::string html = "<table><tr><td>a<td>b<td>c</table><table><tr><td>d</table>";
    RecordingSink sink;
    sink.failOnCell = 2;
    FailureLog failures;
    EXPECT_EQ(walk(html, sink, failures), "T1 R3 c:a skip c:c ;T2 R1 c:d ;");
    ASSERT_EQ(failures.entries().size(), 1U);
    EXPECT_EQ(failures.entries()[0].line, 138);
    EXPECT_EQ(failures.entries()[0].description, "cell refused");

    RecordingSink second;
    second.failOnCell = 1;
    FailureLog secondFailures;
    walk(html, second, secondFailures, nullptr, kFile2Walk);
    EXPECT_EQ(secondFailures.entries()[0].line, 176);
}

TEST(Extraction, AFailedTableIsReportedAndTheNextTableFollows) {
    RecordingSink sink;
    sink.failOnEnd = true;
    FailureLog failures;
    std::vector<std::int32_t> listed;
    EXPECT_EQ(walk("<table><tr><td>a</table><table><tr><td>b</table>", sink, failures, &listed),
              "T1 R1 c:a !T2 R1 c:b !");
    EXPECT_TRUE(listed.empty());
    ASSERT_EQ(failures.entries().size(), 2U);
    EXPECT_EQ(failures.entries()[1].line, 148);
}

// A file of its own in a folder of its own, gone with the folder.
class TemporaryFile final {
public:
    explicit TemporaryFile(const std::string& content) : mPath(mFolder / "page.htm") {
        std::ofstream(mPath, std::ios::binary) << content;
    }
    std::string path() const { return mPath.string(); }
    std::string folder() const { return mFolder.path().string(); }

private:
    testing::ScratchFolder mFolder;
    std::filesystem::path mPath;
};

TEST(Extraction, ReadsAFileIntoFreshContainers) {
    const TemporaryFile file(
        "<table><tr><th>Name</th><tr><td>Ana</td><td>Lisboa</td></tr></table>");
    KeepGoing progress;
    const ExtractedFile extracted = extractTables(file.path(), kFile1Walk, progress);
    EXPECT_EQ(extracted.listedTables, (std::vector<std::int32_t>{1}));
    EXPECT_EQ(extracted.tables.rows->item(1).rowCount(), 2);
    EXPECT_EQ(extracted.tables.columnCounts->item(1), 2);
    EXPECT_EQ(extracted.tables.cells->item({1, 2, 1}), "Lisboa");
    EXPECT_EQ(progress.fractions.front(), 0.0);
    EXPECT_EQ(progress.fractions.back(), 1.0);
}

TEST(Extraction, StopsWhenAskedAndFailsWithThePlatformsWords) {
    const TemporaryFile file("<table><tr><td>x</table>");
    KeepGoing stop;
    stop.stopAfter = 1;
    EXPECT_THROW(extractTables(file.path(), kFile1Walk, stop), ExtractionCancelled);

    KeepGoing progress;
    try {
        extractTables("/no/such/file.htm", kFile1Walk, progress);
        FAIL() << "a missing file must fail";
    } catch (const Failure& failure) {
        EXPECT_STREQ(failure.what(), "No such file or directory");
    }
    try {
        extractTables(file.folder(), kFile1Walk, progress);
        FAIL() << "a folder must fail";
    } catch (const Failure& failure) {
        EXPECT_STREQ(failure.what(), "Is a directory");
    }
}

}  // namespace
}  // namespace veltrano
