#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace veltrano {

// The real file system, for tests that change or watch a few of its operations.
class ForwardingFileSystem : public platform::FileSystem {
public:
    bool canQueryModificationTime(const std::string& path) override {
        return real().canQueryModificationTime(path);
    }
    bool isDirectory(const std::string& path) override { return real().isDirectory(path); }
    std::string readFile(const std::string& path, std::uint64_t maxBytes) override {
        return real().readFile(path, maxBytes);
    }
    std::unique_ptr<platform::FileWriter> createNewFile(const std::string& folder,
                                                        std::string_view prefix,
                                                        std::string& path) override {
        return real().createNewFile(folder, prefix, path);
    }
    void replaceFile(const std::string& from, const std::string& to) override {
        real().replaceFile(from, to);
    }
    void syncFolder(const std::string& folder) override { real().syncFolder(folder); }
    bool removeFile(const std::string& path) override { return real().removeFile(path); }

protected:
    static platform::FileSystem& real() { return platform::realFileSystem(); }
};

}  // namespace veltrano
