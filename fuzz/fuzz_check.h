#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace veltrano::fuzz {

// A broken invariant is a crash to libFuzzer: the input is saved and the run stops.
inline void require(bool holds, const char* invariant) {
    if (!holds) {
        std::fprintf(stderr, "Invariant broken: %s\n", invariant);
        std::abort();
    }
}

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace veltrano::fuzz
