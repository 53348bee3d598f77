#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace veltrano::html {

// Decoders skip pure ASCII in blocks of this many bytes: most markup is ASCII whatever the
// encoding, and testing a block at once is what lets large files decode at memory speed.
inline constexpr std::size_t kAsciiBlockSize = 16;

// True when none of the kAsciiBlockSize bytes from block on has its high bit set.
inline bool isAsciiBlock(const unsigned char* block) {
    std::uint64_t first;
    std::uint64_t second;
    std::memcpy(&first, block, 8);
    std::memcpy(&second, block + 8, 8);
    return ((first | second) & 0x8080808080808080u) == 0;
}

}  // namespace veltrano::html
