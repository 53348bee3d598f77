#include "join/path_helpers.h"

#include <algorithm>
#include <memory>

#include "platform/file_system.h"

namespace veltrano {
namespace {

void appendCollapsingPairs(std::string& out, std::string_view path, char separator) {
    for (std::size_t i = 0; i < path.size(); ++i) {
        out += path[i];
        if (path[i] == separator && i + 1 < path.size() && path[i + 1] == separator) {
            ++i;
        }
    }
}

}  // namespace

std::string NormalizePath(std::string_view path, char separator) {
    std::string normalized;
    normalized.reserve(path.size() + 1);
    if (!path.empty() && path.front() == separator) {
        normalized.assign(2, separator);
        const std::size_t rest = path.find_first_not_of(separator);
        path.remove_prefix(rest == std::string_view::npos ? path.size() : rest);
    }
    appendCollapsingPairs(normalized, path, separator);
    return normalized;
}

bool FolderExists(const std::string& path) {
    try {
        return platform::fileSystem().isDirectory(path);
    } catch (...) {
        return false;
    }
}

bool CouldBeFolderPath(std::string_view text) {
    // Linux's PATH_MAX, 4096 bytes, counts the terminating zero.
    constexpr std::size_t kLongestPath = 4095;
    return text.size() <= kLongestPath && std::none_of(text.begin(), text.end(), [](char c) {
               const auto byte = static_cast<unsigned char>(c);
               return byte < 0x20 || byte == 0x7f;
           });
}

void DeleteFileQuietly(const std::string& path) {
    try {
        platform::fileSystem().removeFile(path);
    } catch (...) {
        // Quiet by contract: the caller has nothing to do about a file that stays.
    }
}

void WriteTextFile(std::string_view bytes, const std::string& path) {
    const std::size_t cut = path.rfind(kPathSeparator);
    // A file directly under the root keeps the root as its folder.
    const std::string folder =
        cut == std::string::npos ? std::string() : path.substr(0, cut == 0 ? 1 : cut);
    const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);

    platform::FileSystem& files = platform::fileSystem();
    // Beside the result, so on the same file system: the rename that puts it in place is
    // atomic.
    std::string temporary;
    try {
        const std::unique_ptr<platform::FileWriter> file =
            files.createNewFile(folder, "." + name + ".", temporary);
        file->write(bytes);
        // On the disk before it takes the earlier file's place: a crash leaves one or the other
        // whole, never an empty result.
        file->sync();
        file->close();
        files.replaceFile(temporary, path);
    } catch (...) {
        if (!temporary.empty()) {
            DeleteFileQuietly(temporary);
        }
        throw;
    }
    // The rename itself is on the disk before the caller says the result is there.
    files.syncFolder(folder);
}

}  // namespace veltrano
