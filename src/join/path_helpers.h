#pragma once

#include <string>
#include <string_view>

namespace veltrano {

// The separator of this platform's paths. Elsewhere a backslash is an ordinary file-name
// character, so the path rules below are written in terms of this separator, never a
// hard-coded backslash.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Collapses doubled separators (one left-to-right, non-overlapping pass: two become one,
// three or four become two) and turns any leading run of separators into exactly two, so a
// network prefix survives and a folder text ending with a separator gives one before the name.
std::string NormalizePath(std::string_view path, char separator = kPathSeparator);

// True when path names an existing directory. Empty, missing, unreachable or ordinary-file
// paths give false; never fails.
bool FolderExists(const std::string& path);

// True when text could name a folder: no control characters, and no longer than the longest
// path the system opens.
bool CouldBeFolderPath(std::string_view text);

// Removes the file if it can; any failure, a missing file included, is ignored.
void DeleteFileQuietly(const std::string& path);

// Puts bytes in place of the file at path as one piece: they are written to a temporary file
// beside it and synced to the disk, the temporary file then replaces the file (a read-only one
// included, whose permission bits the new file keeps), and the folder is synced. A new file
// gets 0666 under the umask. On failure before the replacement the earlier file is untouched
// and no temporary file is left; veltrano::Failure carries the platform's description. The
// bytes are written as they stand: no byte-order mark, no line-end changes.
void WriteTextFile(std::string_view bytes, const std::string& path);

}  // namespace veltrano
