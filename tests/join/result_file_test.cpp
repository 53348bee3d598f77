#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

#include "child_process.h"
#include "forwarding_file_system.h"
#include "join/path_helpers.h"
#include "scratch_folder.h"

namespace veltrano {
namespace {

namespace fs = std::filesystem;

// "Mode0640" for a test parameter 0640.
std::string modeName(const ::testing::TestParamInfo<mode_t>& row) {
    char octal[16];
    std::snprintf(octal, sizeof octal, "Mode%04o", static_cast<unsigned>(row.param));
    return octal;
}

// Where each step of writing the result happens.
struct WatchingFileSystem final : ForwardingFileSystem {
    std::string createdIn;
    std::string renamedFrom;
    std::string renamedTo;
    bool temporaryExistedAtRename = false;
    std::string syncedFolder;

    std::unique_ptr<platform::FileWriter> createNewFile(const std::string& folder,
                                                        std::string_view prefix,
                                                        std::string& path) override {
        createdIn = folder;
        return real().createNewFile(folder, prefix, path);
    }
    void replaceFile(const std::string& from, const std::string& to) override {
        renamedFrom = from;
        renamedTo = to;
        temporaryExistedAtRename = fs::is_regular_file(from);
        real().replaceFile(from, to);
    }
    void syncFolder(const std::string& folder) override {
        syncedFolder = folder;
        real().syncFolder(folder);
    }
};

class ResultFileTest : public ::testing::Test {
protected:
    std::string resultPath() const { return (mFolder / "joined.html").string(); }
    std::string content() const {
        std::ifstream in(mFolder / "joined.html", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    mode_t resultMode() const {
        struct stat info {};
        return ::stat(resultPath().c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
    }
    // Writes the result in a child process that has the given umask, so that this process
    // keeps its own; true when the write succeeded.
    bool writeUnderUmask(mode_t mask, std::string_view bytes) const {
        return statusOfChild([&] {
                   ::umask(mask);
                   try {
                       WriteTextFile(bytes, resultPath());
                       return 0;
                   } catch (...) {
                       return 1;
                   }
               }) == 0;
    }
    bool onlyTheResultIsLeft() const {
        return std::distance(fs::directory_iterator(mFolder.path()), fs::directory_iterator()) == 1;
    }

    testing::ScratchFolder mFolder;
};

TEST_F(ResultFileTest, TheTemporaryFileIsMadeInTheResultsFolderAndSyncedThere) {
    WatchingFileSystem files;
    const platform::ScopedFileSystem watch(files);
    WriteTextFile("new", resultPath());
    EXPECT_EQ(files.createdIn, mFolder.path().string());
    EXPECT_EQ(fs::path(files.renamedFrom).parent_path(), mFolder.path());
    EXPECT_TRUE(files.temporaryExistedAtRename);
    EXPECT_EQ(files.renamedTo, resultPath());
    EXPECT_EQ(files.syncedFolder, mFolder.path().string());
    EXPECT_EQ(content(), "new");
    EXPECT_TRUE(onlyTheResultIsLeft());
}

class NewResultModeTest : public ResultFileTest, public ::testing::WithParamInterface<mode_t> {};

TEST_P(NewResultModeTest, IsWhatTheUmaskLeavesOfReadAndWriteForAll) {
    const mode_t mask = GetParam();
    ASSERT_TRUE(writeUnderUmask(mask, "new"));
    EXPECT_EQ(resultMode(), 0666 & ~mask);
    EXPECT_EQ(content(), "new");
}

INSTANTIATE_TEST_SUITE_P(Umasks, NewResultModeTest, ::testing::Values(0, 002, 022, 027, 077),
                         modeName);

class ReplacedResultModeTest : public ResultFileTest,
                               public ::testing::WithParamInterface<mode_t> {};

// Whatever the umask says: the user chose the earlier result's permissions.
TEST_P(ReplacedResultModeTest, KeepsTheEarlierResultsPermissionBits) {
    const mode_t earlier = GetParam();
    std::ofstream(mFolder / "joined.html") << "earlier";
    ASSERT_EQ(::chmod(resultPath().c_str(), earlier), 0);
    ASSERT_TRUE(writeUnderUmask(022, "new"));
    EXPECT_EQ(resultMode(), earlier & 0777);
    EXPECT_EQ(content(), "new");
    EXPECT_TRUE(onlyTheResultIsLeft());
}

// A set-user-ID bit is not a document's and is not handed on.
INSTANTIATE_TEST_SUITE_P(EarlierModes, ReplacedResultModeTest,
                         ::testing::Values(0600, 0640, 0664, 0444, 0666, 04755), modeName);

}  // namespace
}  // namespace veltrano
