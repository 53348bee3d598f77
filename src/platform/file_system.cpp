#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
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

class RealFileWriter final : public FileWriter {
public:
    explicit RealFileWriter(int fd) : mFile(fd) {}

    void write(std::string_view bytes) override { writeAllBytes(mFile.get(), bytes); }

    void sync() override {
        if (::fsync(mFile.get()) != 0) {
            failWithErrno();
        }
    }

    void close() override { mFile.close(); }

private:
    FileDescriptor mFile;
};

// A taken name costs one more try; a hundred in a row means something else is wrong.
constexpr int kNameAttempts = 100;

// Six letters or digits: 62^6 names.
std::string randomNameTail() {
    static constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    std::string tail(6, ' ');
    for (char& letter : tail) {
        letter = kLetters[pick(generator)];
    }
    return tail;
}

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

    std::unique_ptr<FileWriter> createNewFile(const std::string& folder, std::string_view prefix,
                                              std::string& path) override {
        std::string base = folder;
        if (!base.empty() && base.back() != '/') {
            base += '/';
        }
        base.append(prefix);
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            std::string candidate = base + randomNameTail();
            // Asking for 0666 lets the kernel apply the umask and any default ACL, as for every
            // new file. Reading the umask would mean setting it, which races with other threads.
            const int fd =
                ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
            if (fd >= 0) {
                path = std::move(candidate);
                return std::make_unique<RealFileWriter>(fd);
            }
            if (errno != EEXIST) {
                failWithErrno();
            }
        }
        throw Failure(describeErrno(EEXIST));
    }

    void replaceFile(const std::string& from, const std::string& to) override {
        // Only the permission bits: set-ID bits are not a document's.
        struct stat replaced {};
        if (::stat(to.c_str(), &replaced) == 0 && S_ISREG(replaced.st_mode) &&
            ::chmod(from.c_str(), replaced.st_mode & 0777) != 0) {
            failWithErrno();
        }
        if (::rename(from.c_str(), to.c_str()) != 0) {
            failWithErrno();
        }
    }

    void syncFolder(const std::string& folder) override {
        FileDescriptor entries(
            ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (entries.get() < 0) {
            failWithErrno();
        }
        // A file system that cannot sync a folder says EINVAL; its renames are then as durable
        // as it makes them, and refusing would leave the folder unusable.
        if (::fsync(entries.get()) != 0 && errno != EINVAL) {
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
