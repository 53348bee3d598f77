#pragma once

#include <stdlib.h>  // mkdtemp

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace veltrano::testing {

// A new folder with a name of its own under the temporary folder, removed with all it holds
// when this goes: tests that ctest runs side by side never meet at one path.
class ScratchFolder final {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "veltrano-test.XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a scratch folder in " + pattern);
        }
        mPath = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(mPath, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return mPath; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return mPath / name;
    }

private:
    std::filesystem::path mPath;
};

}  // namespace veltrano::testing
