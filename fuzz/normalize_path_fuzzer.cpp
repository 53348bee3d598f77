// NormalizePath against a model written from its contract: a leading run of separators
// becomes exactly two, and elsewhere each run of n separators becomes n - n / 2 (pairs
// collapse left to right). The first byte picks the separator, so both the platform's and the
// other one are tried.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "join/path_helpers.h"

using veltrano::fuzz::require;

namespace {

std::string modelNormalized(std::string_view path, char separator) {
    std::string model;
    std::size_t at = 0;
    while (at < path.size()) {
        const std::size_t run = path.find_first_not_of(separator, at);
        const std::size_t length = (run == std::string_view::npos ? path.size() : run) - at;
        if (length == 0) {
            model += path[at++];
            continue;
        }
        model.append(at == 0 ? 2 : length - length / 2, separator);
        at += length;
    }
    return model;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const char separator = data[0] % 2 == 0 ? '/' : '\\';
    const std::string_view path = veltrano::fuzz::bytesOf(data + 1, size - 1);
    require(veltrano::NormalizePath(path, separator) == modelNormalized(path, separator),
            "NormalizePath follows its contract");
    return 0;
}
