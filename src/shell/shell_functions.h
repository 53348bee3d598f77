#pragma once

#include <string>
#include <string_view>

namespace veltrano {

// True for an existing file or folder (its modification time can be read); false for an
// empty, missing or unreachable path. Never fails.
bool FileExists(const std::string& path);

// The files the program looks for beside itself, named relative to the application folder.
inline constexpr const char* kSkinFile = "x/o.cjs";
inline constexpr const char* kPointerFile = "HAND-M.CUR";
inline constexpr const char* kSampleFile1 = "Samples/table1.htm";
inline constexpr const char* kSampleFile2 = "Samples/table2.htm";

// A file beside the program: the application folder, the native separator, then the name
// with native separators ("x/o.cjs", "HAND-M.CUR", "Samples/table1.htm"). Nothing else is
// added, so a folder at the root gives a doubled separator, used as it stands.
std::string besideProgram(std::string_view applicationFolder, std::string_view relativeName);

}  // namespace veltrano
