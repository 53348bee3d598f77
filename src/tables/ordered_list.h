#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "platform/failure.h"

namespace veltrano {

// An ordered list whose positions count from 1, as the store's readers address it.
template <class T>
class OrderedList final {
public:
    void add(T value) { mItems.push_back(std::move(value)); }
    std::size_t count() const { return mItems.size(); }
    const T& item(std::size_t position) const {
        if (position < 1 || position > mItems.size()) {
            throw Failure("Subscript out of range");
        }
        return mItems[position - 1];
    }

private:
    std::vector<T> mItems;
};

}  // namespace veltrano
