#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/failure.h"
#include "scratch_folder.h"

namespace veltrano::platform {
namespace {

constexpr std::uint64_t kLimit = 1 << 20;

// What opening the path for reading fails with; empty when it opens.
std::string openingFailure(const std::string& path, std::uint64_t maxBytes = kLimit) {
    try {
        realFileSystem().openForReading(path, maxBytes);
        return {};
    } catch (const Failure& failure) {
        return failure.what();
    }
}

// A socket bound to a path, closed when this goes.
class BoundSocket final {
public:
    explicit BoundSocket(const std::string& path) : mFd(::socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        mBound = mFd >= 0 &&
                 ::bind(mFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~BoundSocket() { ::close(mFd); }
    BoundSocket(const BoundSocket&) = delete;
    BoundSocket& operator=(const BoundSocket&) = delete;
    bool bound() const { return mBound; }

private:
    int mFd;
    bool mBound = false;
};

class FileSystemTest : public ::testing::Test {
protected:
    std::string path(const char* name) const { return (mFolder / name).string(); }
    testing::ScratchFolder mFolder;
};

// None of these may wait: a named pipe without a writer, a device without an end. A wait
// would hold the test until ctest's timeout.
TEST_F(FileSystemTest, RefusesAnythingButARegularFileAtOnceSayingWhatItIs) {
    const std::string pipe = path("pipe.htm");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(openingFailure(pipe),
              "This is a named pipe, not a regular file, so it cannot be read as a document.");

    const std::string socketPath = path("socket.htm");
    const BoundSocket socket(socketPath);
    ASSERT_TRUE(socket.bound());
    EXPECT_EQ(openingFailure(socketPath),
              "This is a socket, not a regular file, so it cannot be read as a document.");

    for (const char* device : {"/dev/zero", "/dev/null"}) {
        EXPECT_EQ(openingFailure(device),
                  "This is a device, not a regular file, so it cannot be read as a document.")
            << device;
    }
    EXPECT_EQ(openingFailure(mFolder.path().string()), "Is a directory");
    // Reading whole goes the same way: never an empty document.
    EXPECT_THROW(realFileSystem().readFile(pipe, kLimit), Failure);
}

TEST_F(FileSystemTest, FollowsLinksButNotForEver) {
    const std::string file = path("table.htm");
    std::ofstream(file) << "<table>";
    const std::string link = path("link.htm");
    std::filesystem::create_symlink(file, link);
    EXPECT_EQ(openingFailure(link), "");
    EXPECT_EQ(realFileSystem().readFile(link, kLimit), "<table>");

    const std::string loop1 = path("loop1.htm");
    const std::string loop2 = path("loop2.htm");
    std::filesystem::create_symlink(loop2, loop1);
    std::filesystem::create_symlink(loop1, loop2);
    EXPECT_EQ(openingFailure(loop1), "Too many levels of symbolic links");
    EXPECT_EQ(openingFailure(path("missing.htm")), "No such file or directory");
}

// A sparse file costs no disk, however large it says it is.
TEST_F(FileSystemTest, RefusesAFileOverTheLimitBeforeReadingIt) {
    const std::string file = path("large.htm");
    { std::ofstream create(file); }
    std::filesystem::resize_file(file, kLimit + 1);
    EXPECT_EQ(openingFailure(file),
              "The file is too large to read (1048577 bytes; at most 1048576 bytes are read).");
    std::filesystem::resize_file(file, kLimit);
    EXPECT_EQ(openingFailure(file), "");
    EXPECT_EQ(realFileSystem().readFile(file, kLimit).size(), kLimit);
}

}  // namespace
}  // namespace veltrano::platform
