#include "join/join_command.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "child_process.h"
#include "fake_join_setup_view.h"
#include "forwarding_file_system.h"
#include "platform/failure.h"
#include "platform/file_system.h"

namespace veltrano {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

const std::string kDone = "Done.";
const std::string kFolderMissing = "Folder does not exist. Please select another folder.";
const std::string kNoColumn1 = "You must select first common columns for file #1.";
const std::string kNoColumn2 = "You must select first common columns for file #2.";
constexpr const char* kThreeByTwo = "a1 a2|b1 b2|c1 c2";
constexpr const char* kFiveByThree = "p1 p2 p3|q1 q2 q3|r1 r2 r3|s1 s2 s3|t1 t2 t3";
constexpr const char* kTwoByThree = "p1 p2 p3|q1 q2 q3";

// The result file for rows of written cell texts as for splitRows, "_" for a filler cell.
std::string document(std::string_view rows) {
    std::string html = "<html><title>Join Results</title><body><table border=1>\r\n";
    for (const auto& row : splitRows(rows)) {
        html += "<tr>\r\n";
        for (const auto& cell : row) {
            html += "<td>" + (cell == "_" ? "&nbsp;" : cell) + "</td>\r\n";
        }
        html += "</tr>\r\n";
    }
    return html + "</table></body></html>";
}

std::string failureAt(const std::string& description, int line) {
    return description + "\r\nin Veltrano2021/08/31.Form2.PushButton6_Click at line " +
           std::to_string(line) + "\r\rPlease email screenshot of this message to " +
           "support@kestrava.com";
}

enum class Mode { None, Append, Join };

class JoinCommandTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "join_tests.XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        mRoot = pattern;
        mOutput = mRoot / "out";
        fs::create_directory(mOutput);
        mView.folder = mOutput.string();
    }

    void TearDown() override {
        // Whatever happened, no temporary file stays behind, wherever the folder went.
        EXPECT_EQ(temporaryFiles(), std::vector<fs::path>{});
        fs::remove_all(mRoot);
    }

    std::vector<fs::path> temporaryFiles() const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::recursive_directory_iterator(mRoot)) {
            if (entry.path().filename().string().starts_with(".joined.html")) {
                found.push_back(entry.path());
            }
        }
        return found;
    }

    void choose(Mode mode, int column1, int column2, const TableGrid& grid1,
                const TableGrid& grid2) {
        mView.appendMode = mode == Mode::Append;
        mView.joinMode = mode == Mode::Join;
        mView.column1 = column1;
        mView.column2 = column2;
        mView.table1 = grid1;
        mView.table2 = grid2;
    }
    static std::string read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string result() const { return read(mOutput / "joined.html"); }
    void writeEarlierResult() const { std::ofstream(mOutput / "joined.html") << "earlier"; }

    fs::path mRoot;
    fs::path mOutput;
    FakeJoinSetupView mView;
    RecordingMessages mMessages;
    JoinCommand mCommand{mView, mMessages};
};

struct DocumentCase {
    const char* name;
    Mode mode;
    int column1;
    int column2;
    int columns1;
    const char* rows1;
    int columns2;
    const char* rows2;
    const char* written;
};

class JoinDocumentTest : public JoinCommandTest,
                         public testing::WithParamInterface<DocumentCase> {};

TEST_P(JoinDocumentTest, WritesTheDocumentAndSaysDone) {
    const DocumentCase& c = GetParam();
    choose(c.mode, c.column1, c.column2, {c.columns1, c.rows1}, {c.columns2, c.rows2});
    mCommand.run();
    EXPECT_EQ(result(), document(c.written));
    EXPECT_EQ(mMessages.plain, Texts{kDone});
    EXPECT_TRUE(mMessages.failures.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Modes, JoinDocumentTest,
    testing::Values(
        DocumentCase{"JoinSecondGridLonger", Mode::Join, 0, 1, 2, kThreeByTwo, 3, kFiveByThree,
                     "a1 a2 p1 p3|b1 b2 q1 q3|c1 c2 r1 r3|_ _ s1 s3|_ _ t1 t3"},
        DocumentCase{"JoinSecondGridShorter", Mode::Join, 0, 1, 2, kThreeByTwo, 3, kTwoByThree,
                     "a1 a2 p1 p3|b1 b2 q1 q3|c1 c2 _ _"},
        // Equal common values in different rows stay apart: rows pair by position alone.
        DocumentCase{"JoinPairsRowsByPositionOnly", Mode::Join, 1, 0, 2, "x k1|y k2", 2,
                     "k2 m|k1 n", "x k1 m|y k2 n"},
        DocumentCase{"AppendKeepsWidthsWithoutColumnChoices", Mode::Append, -1, -1, 2, kThreeByTwo,
                     4, "w1 w2 w3 w4|v1 v2 v3 v4", "a1 a2|b1 b2|c1 c2|w1 w2 w3 w4|v1 v2 v3 v4"},
        DocumentCase{"JoinBothGridsEmpty", Mode::Join, 0, 0, 2, "", 3, "", ""},
        DocumentCase{"AppendBothGridsEmpty", Mode::Append, 0, 0, 2, "", 3, "", ""},
        DocumentCase{"NeitherOptionSelected", Mode::None, 0, 0, 2, kThreeByTwo, 3, kFiveByThree,
                     ""},
        DocumentCase{"CellTextEscapedInTheCodePage", Mode::Append, -1, -1, 4,
                     "a<b&c> Z\u00fcrich\u20ac \u2192 ", 1, "two\r\nlines",
                     "a&lt;b&amp;c&gt; Z\xfcrich\x80 &#8594; |two\r\nlines"}),
    [](const auto& row) { return std::string(row.param.name); });

enum class Folder { Existing, EmptyText, Missing, OrdinaryFile };

struct CheckCase {
    const char* name;
    Folder folder;
    Mode mode;
    int column1;
    int column2;
    Texts shown;
};

class JoinCheckTest : public JoinCommandTest, public testing::WithParamInterface<CheckCase> {};

TEST_P(JoinCheckTest, StopsWithItsMessagesAndLeavesTheEarlierResult) {
    const CheckCase& c = GetParam();
    writeEarlierResult();
    choose(c.mode, c.column1, c.column2, {2, kThreeByTwo}, {3, kFiveByThree});
    const fs::path folders[] = {mOutput, "", mRoot / "missing", mOutput / "joined.html"};
    mView.folder = folders[static_cast<int>(c.folder)].string();
    mCommand.run();
    EXPECT_EQ(mMessages.plain, c.shown);
    EXPECT_TRUE(mMessages.failures.empty());
    EXPECT_EQ(result(), "earlier");
}

INSTANTIATE_TEST_SUITE_P(
    Checks, JoinCheckTest,
    testing::Values(
        CheckCase{"EmptyFolderTextFirst", Folder::EmptyText, Mode::Join, -1, -1, {kFolderMissing}},
        CheckCase{"MissingFolderFirst", Folder::Missing, Mode::Join, -1, -1, {kFolderMissing}},
        CheckCase{
            "OrdinaryFileIsNoFolder", Folder::OrdinaryFile, Mode::Append, 0, 0, {kFolderMissing}},
        CheckCase{"NoColumnForFile1", Folder::Existing, Mode::Join, -1, 0, {kNoColumn1}},
        CheckCase{"NoColumnForFile2", Folder::Existing, Mode::Join, 0, -1, {kNoColumn2}},
        CheckCase{"NoColumnForEitherFile",
                  Folder::Existing,
                  Mode::Join,
                  -1,
                  -1,
                  {kNoColumn1, kNoColumn2}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(JoinCommandTest, NormalisesTheFolderTextOnlyForTheResultPath) {
    choose(Mode::Append, -1, -1, {1, "x"}, {0, ""});
    // A trailing separator, and a doubled one inside the text.
    for (const std::string& folder : {mOutput.string() + "/", mRoot.string() + "//out"}) {
        SCOPED_TRACE(folder);
        mView.folder = folder;
        fs::remove(mOutput / "joined.html");
        mCommand.run();
        EXPECT_EQ(result(), document("x"));
    }
}

TEST_F(JoinCommandTest, ReplacesAReadOnlyEarlierResult) {
    writeEarlierResult();
    fs::permissions(mOutput / "joined.html", fs::perms::owner_read | fs::perms::group_read);
    choose(Mode::Append, -1, -1, {1, "new"}, {0, ""});
    mCommand.run();
    EXPECT_EQ(result(), document("new"));
    EXPECT_EQ(mMessages.plain, Texts{kDone});
}

TEST_F(JoinCommandTest, IgnoresASecondClickDuringTheRun) {
    choose(Mode::Append, -1, -1, {1, "x"}, {0, ""});
    int eventPasses = 0;
    mView.onEvents = [&] {
        if (++eventPasses == 1) {
            mCommand.run();
        }
    };
    mCommand.run();
    EXPECT_EQ(eventPasses, 1);
    EXPECT_EQ(mMessages.plain, Texts{kDone});
    EXPECT_EQ(result(), document("x"));
}

enum class Fault { FolderVanishes, WriteFails, FileSyncFails, ReplaceFails, FolderSyncFails };

// A new file whose writing or syncing fails, once the real file exists.
class FaultyWriter final : public platform::FileWriter {
public:
    FaultyWriter(std::unique_ptr<platform::FileWriter> real, Fault fault)
        : mReal(std::move(real)), mFault(fault) {}
    void write(std::string_view bytes) override {
        return mFault == Fault::WriteFails ? throw Failure("No space left on device")
                                           : mReal->write(bytes);
    }
    void sync() override {
        return mFault == Fault::FileSyncFails ? throw Failure("Input/output error") : mReal->sync();
    }
    void close() override { mReal->close(); }

private:
    std::unique_ptr<platform::FileWriter> mReal;
    Fault mFault;
};

// The real file system, with one step of writing the result made to fail while armed.
struct FaultyFileSystem final : ForwardingFileSystem {
    Fault fault = Fault::FolderVanishes;
    bool armed = true;

    bool fails(Fault step) const { return armed && fault == step; }
    std::unique_ptr<platform::FileWriter> createNewFile(const std::string& folder,
                                                        std::string_view prefix,
                                                        std::string& path) override {
        auto file = real().createNewFile(folder, prefix, path);
        return armed ? std::make_unique<FaultyWriter>(std::move(file), fault) : std::move(file);
    }
    void replaceFile(const std::string& from, const std::string& to) override {
        return fails(Fault::ReplaceFails) ? throw Failure("Device or resource busy")
                                          : real().replaceFile(from, to);
    }
    void syncFolder(const std::string& folder) override {
        return fails(Fault::FolderSyncFails) ? throw Failure("Input/output error")
                                             : real().syncFolder(folder);
    }
};

// Real writes that stop part-way, in a child process: its output folder made too small by
// limit(), which returns false when this machine does not allow it. Root is not held back by
// permissions, but is by these limits.
class JoinLimitedWriteTest : public JoinCommandTest {
protected:
    static constexpr int kCannotLimit = 77;

    // 0 when the run reported errorNumber's description at the writing step without "Done.",
    // and left the earlier result and no temporary file; kCannotLimit when limit() failed; 1
    // otherwise.
    int statusOfLimitedRun(const std::function<bool()>& limit, int errorNumber) {
        choose(Mode::Append, -1, -1, {1, std::string(256 * 1024, 'x')}, {0, ""});
        return statusOfChild([&] {
            if (!limit()) {
                return kCannotLimit;
            }
            writeEarlierResult();
            mCommand.run();
            const bool reported =
                mMessages.failures == Texts{failureAt(describeErrno(errorNumber), 232)} &&
                mMessages.plain.empty();
            return reported && result() == "earlier" && temporaryFiles().empty() ? 0 : 1;
        });
    }

    static constexpr std::size_t kRoom = 64 * 1024;
};

TEST_F(JoinLimitedWriteTest, AFileSizeLimitKeepsTheEarlierResult) {
    const int status = statusOfLimitedRun(
        [] {
            const rlimit limit{kRoom, kRoom};
            // Ignored, the signal lets write() say EFBIG instead of ending the process.
            return std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && setrlimit(RLIMIT_FSIZE, &limit) == 0;
        },
        EFBIG);
    ASSERT_NE(status, kCannotLimit) << "the file size limit could not be set";
    EXPECT_EQ(status, 0);
}

TEST_F(JoinLimitedWriteTest, AFullFileSystemKeepsTheEarlierResult) {
    const std::string options = "size=" + std::to_string(kRoom);
    const int status = statusOfLimitedRun(
        [&] {
            // In a mount namespace of the child's own, the small file system goes with it.
            return unshare(CLONE_NEWNS) == 0 &&
                   mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                   mount("tmpfs", mOutput.c_str(), "tmpfs", 0, options.c_str()) == 0;
        },
        ENOSPC);
    if (status == kCannotLimit) {
        GTEST_SKIP() << "no small tmpfs can be mounted here (it takes CAP_SYS_ADMIN and a mount "
                        "namespace of its own)";
    }
    EXPECT_EQ(status, 0);
}

std::string faultName(const testing::TestParamInfo<Fault>& row) {
    constexpr const char* kNames[] = {"FolderVanishes", "WriteFails", "FileSyncFails",
                                      "ReplaceFails", "FolderSyncFails"};
    return kNames[static_cast<int>(row.param)];
}

class JoinWriteFailureTest : public JoinCommandTest, public testing::WithParamInterface<Fault> {};

TEST_P(JoinWriteFailureTest, ReportsKeepsTheEarlierResultAndRunsAgain) {
    const Fault fault = GetParam();
    FaultyFileSystem files;
    files.fault = fault;
    const platform::ScopedFileSystem useFaultyFiles(files);
    const fs::path moved = mRoot / "moved";
    if (fault == Fault::FolderVanishes) {
        mView.onEvents = [&] { fs::rename(mOutput, moved); };
    }
    writeEarlierResult();
    choose(Mode::Append, -1, -1, {1, "new"}, {0, ""});

    mCommand.run();
    const std::string descriptions[] = {describeErrno(ENOENT), "No space left on device",
                                        "Input/output error", "Device or resource busy",
                                        "Input/output error"};
    EXPECT_EQ(mMessages.failures, Texts{failureAt(descriptions[static_cast<int>(fault)], 232)});
    // Never "Done." for a result that may not be on the disk.
    EXPECT_TRUE(mMessages.plain.empty());
    // Once renamed, the new result is in place even though its folder's sync failed.
    EXPECT_EQ(read((fault == Fault::FolderVanishes ? moved : mOutput) / "joined.html"),
              fault == Fault::FolderSyncFails ? document("new") : "earlier");

    // The run ended cleanly: once the cause is gone, the next click works.
    if (fault == Fault::FolderVanishes) {
        mView.onEvents = nullptr;
        fs::rename(moved, mOutput);
    }
    files.armed = false;
    mCommand.run();
    EXPECT_EQ(mMessages.plain, Texts{kDone});
    EXPECT_EQ(result(), document("new"));
}

INSTANTIATE_TEST_SUITE_P(Faults, JoinWriteFailureTest,
                         testing::Values(Fault::FolderVanishes, Fault::WriteFails,
                                         Fault::FileSyncFails, Fault::ReplaceFails,
                                         Fault::FolderSyncFails),
                         faultName);

struct FailingCellCase {
    const char* name;
    Mode mode;
    int grid;
    int row;
    int column;
    int line;
};

class JoinFailingCellTest : public JoinCommandTest,
                            public testing::WithParamInterface<FailingCellCase> {};

TEST_P(JoinFailingCellTest, ReportsTheCellsStepAndCarriesOn) {
    const FailingCellCase& c = GetParam();
    choose(c.mode, 0, 1, {2, "a1 a2|b1 b2"}, {3, kTwoByThree});
    TableGrid& failing = c.grid == 1 ? mView.table1 : mView.table2;
    const std::string lost = "<td>" + std::string(failing.cell(c.row, c.column)) + "</td>\r\n";
    failing.failAt(c.row, c.column);
    std::string written = document(c.mode == Mode::Join ? "a1 a2 p1 p3|b1 b2 q1 q3"
                                                        : "a1 a2|b1 b2|p1 p2 p3|q1 q2 q3");
    written.erase(written.find(lost), lost.size());

    mCommand.run();
    EXPECT_EQ(mMessages.failures, Texts{failureAt("Cell unavailable", c.line)});
    EXPECT_EQ(mMessages.plain, Texts{kDone});
    EXPECT_EQ(result(), written);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, JoinFailingCellTest,
    testing::Values(FailingCellCase{"AppendRowText1", Mode::Append, 1, 0, 0, 142},
                    FailingCellCase{"AppendSubItem1", Mode::Append, 1, 1, 1, 144},
                    FailingCellCase{"AppendRowText2", Mode::Append, 2, 0, 0, 160},
                    FailingCellCase{"AppendSubItem2", Mode::Append, 2, 1, 2, 162},
                    FailingCellCase{"JoinRowText1", Mode::Join, 1, 1, 0, 188},
                    FailingCellCase{"JoinSubItem1", Mode::Join, 1, 0, 1, 190},
                    FailingCellCase{"JoinRowText2", Mode::Join, 2, 1, 0, 208},
                    FailingCellCase{"JoinSubItem2", Mode::Join, 2, 0, 2, 210}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace veltrano
