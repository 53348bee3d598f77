#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/failure.h"

namespace veltrano {

std::string describeErrno(int errorNumber) {
    char buffer[256];
    // GNU strerror_r may return a static text instead of filling the buffer.
    const char* text = strerror_r(errorNumber, buffer, sizeof buffer);
    return text;
}

namespace platform {
namespace {

[[noreturn]] void failWithErrno() {
    throw Failure(describeErrno(errno));
}

// Closes the descriptor on every path out of a function.
class FileDescriptor final {
public:
    explicit FileDescriptor(int fd) : mFd(fd) {}
    ~FileDescriptor() {
        if (mFd >= 0) {
            ::close(mFd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return mFd; }
    int release() { return std::exchange(mFd, -1); }
    // Closes now so that a failing close (a full disk on some file systems) is seen.
    void close() {
        const int fd = mFd;
        mFd = -1;
        if (::close(fd) != 0) {
            failWithErrno();
        }
    }

private:
    int mFd;
};

void writeAllBytes(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            failWithErrno();
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

[[noreturn]] void failTooLarge(std::uint64_t maxBytes) {
    throw Failure("The file is too large to read (at most " + std::to_string(maxBytes) +
                  " bytes are read).");
}

// Refuses anything but a regular file, in words that say what it is instead.
void requireRegularFile(const struct stat& info) {
    if (S_ISDIR(info.st_mode)) {
        throw Failure(describeErrno(EISDIR));
    }
    if (S_ISREG(info.st_mode)) {
        return;
    }
    // With links followed, what is neither a folder nor a regular file is one of these.
    const char* kind = S_ISFIFO(info.st_mode)   ? "a named pipe"
                       : S_ISSOCK(info.st_mode) ? "a socket"
                                                : "a device";
    throw Failure(std::string("This is ") + kind +
                  ", not a regular file, so it cannot be read as a document.");
}

// Opens a file to read without waiting on it and refuses anything but a regular file. What the
// path names is looked at before opening, since opening a device or a socket may itself wait
// or do something; the open never waits (a named pipe put there meanwhile would block an
// ordinary open for ever), and what was opened is looked at again.
int openRegularFile(const std::string& path, struct stat& info) {
    if (::stat(path.c_str(), &info) != 0) {
        failWithErrno();
    }
    requireRegularFile(info);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        failWithErrno();
    }
    FileDescriptor file(fd);
    if (::fstat(fd, &info) != 0) {
        failWithErrno();
    }
    requireRegularFile(info);
    return file.release();
}

class RealFileReader final : public FileReader {
public:
    RealFileReader(int fd, std::uint64_t size, std::uint64_t maxBytes)
        : mFile(fd), mSize(size), mMaxBytes(maxBytes) {}

    std::uint64_t size() const override { return mSize; }

    std::size_t read(std::span<char> buffer) override {
        for (;;) {
            const ssize_t got = ::read(mFile.get(), buffer.data(), buffer.size());
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                failWithErrno();
            }
            // A file that grows while it is read is still held to the limit.
            mRead += static_cast<std::uint64_t>(got);
            if (mRead > mMaxBytes) {
                failTooLarge(mMaxBytes);
            }
            return static_cast<std::size_t>(got);
        }
    }

    void rewind() override {
        if (::lseek(mFile.get(), 0, SEEK_SET) != 0) {
            failWithErrno();
        }
        mRead = 0;
    }

private:
    FileDescriptor mFile;
    std::uint64_t mSize;
    std::uint64_t mMaxBytes;
    std::uint64_t mRead = 0;
};

// The whole content, read before, handed out piece by piece.
class StringReader final : public FileReader {
public:
    explicit StringReader(std::string content) : mContent(std::move(content)) {}

    std::uint64_t size() const override { return mContent.size(); }

    std::size_t read(std::span<char> buffer) override {
        const std::size_t count = std::min(buffer.size(), mContent.size() - mPosition);
        std::memcpy(buffer.data(), mContent.data() + mPosition, count);
        mPosition += count;
        return count;
    }

    void rewind() override { mPosition = 0; }

private:
    std::string mContent;
    std::size_t mPosition = 0;
};

class RealFileSystem final : public FileSystem {
public:
    bool canQueryModificationTime(const std::string& path) override {
        struct stat info {};
        return !path.empty() && ::stat(path.c_str(), &info) == 0;
    }

    bool isDirectory(const std::string& path) override {
        struct stat info {};
        return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }

    std::string readFile(const std::string& path, std::uint64_t maxBytes) override {
        const std::unique_ptr<FileReader> file = openForReading(path, maxBytes);
        std::string content;
        content.reserve(static_cast<std::size_t>(file->size()));
        std::vector<char> chunk(1 << 20);
        while (const std::size_t got = file->read(chunk)) {
            content.append(chunk.data(), got);
        }
        return content;
    }

    std::unique_ptr<FileReader> openForReading(const std::string& path,
                                               std::uint64_t maxBytes) override {
        struct stat info {};
        const int fd = openRegularFile(path, info);
        const auto size = static_cast<std::uint64_t>(info.st_size);
        auto reader = std::make_unique<RealFileReader>(fd, size, maxBytes);
        if (size > maxBytes) {
            throw Failure("The file is too large to read (" + std::to_string(size) +
                          " bytes; at most " + std::to_string(maxBytes) + " bytes are read).");
        }
        return reader;
    }

    std::string writeNewTemporaryFile(const std::string& folder, std::string_view prefix,
                                      std::string_view bytes) override {
        std::string pathTemplate = folder;
        if (!pathTemplate.empty() && pathTemplate.back() != '/') {
            pathTemplate += '/';
        }
        pathTemplate.append(prefix).append("XXXXXX");
        FileDescriptor file(::mkostemp(pathTemplate.data(), O_CLOEXEC));
        if (file.get() < 0) {
            failWithErrno();
        }
        try {
            // mkstemp makes the file private; a result file is an ordinary document.
            const mode_t mask = ::umask(0);
            ::umask(mask);
            ::fchmod(file.get(), 0666 & ~mask);
            writeAllBytes(file.get(), bytes);
            file.close();
        } catch (...) {
            ::unlink(pathTemplate.c_str());
            throw;
        }
        return pathTemplate;
    }

    void replaceFile(const std::string& from, const std::string& to) override {
        if (::rename(from.c_str(), to.c_str()) != 0) {
            failWithErrno();
        }
    }

    bool removeFile(const std::string& path) override { return ::unlink(path.c_str()) == 0; }
};

}  // namespace

std::unique_ptr<FileReader> FileSystem::openForReading(const std::string& path,
                                                       std::uint64_t maxBytes) {
    return std::make_unique<StringReader>(readFile(path, maxBytes));
}

namespace {

// Read from loader threads; set by tests before any runs.
std::atomic<FileSystem*> gActive = nullptr;

}  // namespace

FileSystem& realFileSystem() {
    static RealFileSystem instance;
    return instance;
}

FileSystem& fileSystem() {
    FileSystem* active = gActive.load();
    return active != nullptr ? *active : realFileSystem();
}

ScopedFileSystem::ScopedFileSystem(FileSystem& replacement) : mPrevious(gActive.load()) {
    gActive = &replacement;
}

ScopedFileSystem::~ScopedFileSystem() {
    gActive = mPrevious;
}

}  // namespace platform
}  // namespace veltrano
