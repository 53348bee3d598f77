#include "platform/html/gumbo_arena.h"

#include <algorithm>

namespace veltrano::html {
namespace {

// Gumbo keeps pointers and sizes in what it allocates; nothing needs more alignment.
constexpr std::size_t kAlignment = 8;
constexpr std::size_t kBlockBytes = std::size_t{4} << 20;
// Larger requests get a block of their own, so that a big text does not waste the rest of one.
constexpr std::size_t kOwnBlockBytes = kBlockBytes / 8;

}  // namespace

void* GumboArena::allocate(void* arena, std::size_t bytes) {
    return static_cast<GumboArena*>(arena)->take(bytes);
}

void GumboArena::deallocate(void* /*arena*/, void* /*pointer*/) {}

void* GumboArena::take(std::size_t bytes) {
    // A zero-byte request still gets an address of its own, as from malloc.
    const std::size_t rounded =
        (std::max<std::size_t>(bytes, 1) + kAlignment - 1) & ~(kAlignment - 1);
    if (rounded >= kOwnBlockBytes) {
        mBlocks.push_back(std::make_unique_for_overwrite<std::byte[]>(rounded));
        return mBlocks.back().get();
    }
    if (rounded > mFreeBytes) {
        mBlocks.push_back(std::make_unique_for_overwrite<std::byte[]>(kBlockBytes));
        mFree = mBlocks.back().get();
        mFreeBytes = kBlockBytes;
    }
    void* result = mFree;
    mFree += rounded;
    mFreeBytes -= rounded;
    return result;
}

}  // namespace veltrano::html
