#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace veltrano::html {

// The memory of one parse: gumbo allocates from large blocks and never gives anything back,
// so a whole tree is freed at once when the arena goes, without walking it. Memory gumbo
// releases while parsing stays in the arena until then.
class GumboArena final {
public:
    GumboArena() = default;
    GumboArena(const GumboArena&) = delete;
    GumboArena& operator=(const GumboArena&) = delete;

    // GumboOptions::allocator and ::deallocator, with this arena as userdata. allocate throws
    // std::bad_alloc instead of returning null (gumbo does not check): nothing gumbo leaves
    // half-built can leak, because everything it holds lives in the arena.
    static void* allocate(void* arena, std::size_t bytes);
    static void deallocate(void* arena, void* pointer);

private:
    void* take(std::size_t bytes);

    std::vector<std::unique_ptr<std::byte[]>> mBlocks;
    std::byte* mFree = nullptr;
    std::size_t mFreeBytes = 0;
};

}  // namespace veltrano::html
