#include "shell/shell_functions.h"

#include "platform/file_system.h"

namespace veltrano {

bool FileExists(const std::string& path) {
    try {
        return platform::fileSystem().canQueryModificationTime(path);
    } catch (...) {
        return false;
    }
}

std::string besideProgram(std::string_view applicationFolder, std::string_view relativeName) {
    std::string path(applicationFolder);
    path += '/';
    path += relativeName;
    return path;
}

}  // namespace veltrano
