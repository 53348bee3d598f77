#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace veltrano::platform {

// An open file read piece by piece from its start.
class FileReader {
public:
    virtual ~FileReader() = default;
    // The file's size when it was opened.
    virtual std::uint64_t size() const = 0;
    // Reads up to buffer.size() bytes, returning how many; 0 at the end. Throws
    // veltrano::Failure with the platform's description.
    virtual std::size_t read(std::span<char> buffer) = 0;
    // Reads again from the first byte.
    virtual void rewind() = 0;
};

// The file operations the program relies on. Everything goes through the active instance so
// that tests can inject faults (CI runs as root, where permissions cannot make a file fail).
// Operations that may fail throw veltrano::Failure with the platform's description.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // True when the path's modification time can be read: an existing file or folder.
    virtual bool canQueryModificationTime(const std::string& path) = 0;
    virtual bool isDirectory(const std::string& path) = 0;
    // Whole content of a regular file; refuses files larger than maxBytes.
    virtual std::string readFile(const std::string& path, std::uint64_t maxBytes) = 0;
    // A regular file opened for reading piece by piece; refuses files larger than maxBytes and
    // anything that is not a regular file, without waiting on it. By default the whole file is
    // read with readFile first, which is what replacements in tests want.
    virtual std::unique_ptr<FileReader> openForReading(const std::string& path,
                                                       std::uint64_t maxBytes);
    // Creates a new, uniquely named file in folder (name starting with prefix), writes bytes
    // to it and closes it; returns its path. Removes what it made when anything fails.
    virtual std::string writeNewTemporaryFile(const std::string& folder, std::string_view prefix,
                                              std::string_view bytes) = 0;
    // Atomically puts from in place of to, replacing any file there.
    virtual void replaceFile(const std::string& from, const std::string& to) = 0;
    // Best effort; false when nothing was removed.
    virtual bool removeFile(const std::string& path) = 0;
};

// The file system of this machine.
FileSystem& realFileSystem();

// The instance every caller uses: the real one unless a test has installed another.
FileSystem& fileSystem();

// Installs a replacement for the lifetime of this object (tests only).
class ScopedFileSystem final {
public:
    explicit ScopedFileSystem(FileSystem& replacement);
    ~ScopedFileSystem();
    ScopedFileSystem(const ScopedFileSystem&) = delete;
    ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

private:
    FileSystem* mPrevious;
};

}  // namespace veltrano::platform
