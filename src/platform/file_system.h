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

// A new file open for writing, from FileSystem::createNewFile. Dropping it closes the file
// without a word; the file stays.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    // Writes all of bytes. Throws veltrano::Failure with the platform's description.
    virtual void write(std::string_view bytes) = 0;
    // Returns once everything written is on the disk.
    virtual void sync() = 0;
    // Closes the file; some file systems report a full disk only here.
    virtual void close() = 0;
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
    // Creates a new, uniquely named file in folder (name starting with prefix) with the mode
    // any new file gets there: 0666 under the user's umask (and the folder's default ACL).
    // path receives its name once it exists; the caller removes the file if it fails later.
    virtual std::unique_ptr<FileWriter> createNewFile(const std::string& folder,
                                                      std::string_view prefix,
                                                      std::string& path) = 0;
    // Atomically puts from in place of to. A file replaced there hands its permission bits on
    // to from, as a file written over in place keeps its own: a user who made the earlier
    // file private, or shared it with a group, expects the same of the next one.
    virtual void replaceFile(const std::string& from, const std::string& to) = 0;
    // Returns once the folder's entries (a rename into it) are on the disk.
    virtual void syncFolder(const std::string& folder) = 0;
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
