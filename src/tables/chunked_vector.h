#pragma once

#include <cstddef>
#include <memory>
#include <vector>

namespace veltrano {

// An append-only array in fixed blocks: growing never moves or copies what is stored, so a
// store of tens of millions of entries never holds two copies at once while it is built.
template <class T, std::size_t kBlockSize = 65536>
class ChunkedVector final {
public:
    void push_back(const T& value) {
        if (mSize % kBlockSize == 0) {
            mBlocks.push_back(std::make_unique_for_overwrite<T[]>(kBlockSize));
        }
        mBlocks.back()[mSize % kBlockSize] = value;
        ++mSize;
    }

    const T& operator[](std::size_t index) const {
        return mBlocks[index / kBlockSize][index % kBlockSize];
    }
    T& back() { return mBlocks.back()[(mSize - 1) % kBlockSize]; }

    std::size_t size() const { return mSize; }
    bool empty() const { return mSize == 0; }
    std::size_t bytesReserved() const {
        return mBlocks.size() * kBlockSize * sizeof(T) +
               mBlocks.capacity() * sizeof(std::unique_ptr<T[]>);
    }

private:
    std::vector<std::unique_ptr<T[]>> mBlocks;
    std::size_t mSize = 0;
};

}  // namespace veltrano
