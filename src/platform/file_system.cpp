#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
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
        FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        if (file.get() < 0) {
            failWithErrno();
        }
        struct stat info {};
        if (::fstat(file.get(), &info) != 0) {
            failWithErrno();
        }
        if (S_ISDIR(info.st_mode)) {
            throw Failure(describeErrno(EISDIR));
        }
        if (static_cast<std::uint64_t>(info.st_size) > maxBytes) {
            throw Failure("The file is too large to read (" + std::to_string(info.st_size) +
                          " bytes; at most " + std::to_string(maxBytes) + " bytes are read).");
        }
        std::string content;
        content.reserve(static_cast<std::size_t>(info.st_size));
        std::vector<char> chunk(1 << 20);
        for (;;) {
            const ssize_t got = ::read(file.get(), chunk.data(), chunk.size());
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                failWithErrno();
            }
            if (got == 0) {
                break;
            }
            content.append(chunk.data(), static_cast<std::size_t>(got));
            if (content.size() > maxBytes) {
                throw Failure("The file is too large to read (at most " + std::to_string(maxBytes) +
                              " bytes are read).");
            }
        }
        return content;
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
