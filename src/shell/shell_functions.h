#pragma once

#include <string>
#include <string_view>

namespace veltrano {

// True for an existing file or folder (its modification time can be read); false for an
// empty, missing or unreachable path. Never fails.
bool FileExists(const std::string& path);

// A file beside the program: the application folder, the native separator, then the name
// with native separators ("x/o.cjs", "HAND-M.CUR", "Samples/table1.htm"). Nothing else is
// added, so a folder at the root gives a doubled separator, used as it stands.
std::string besideProgram(std::string_view applicationFolder, std::string_view relativeName);

}  // namespace veltrano
