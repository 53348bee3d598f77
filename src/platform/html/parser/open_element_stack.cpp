#include "platform/html/parser/open_element_stack.h"

#include <algorithm>
#include <bit>

namespace veltrano::html::parser {

void OpenElementStack::push(const OpenElement& element) {
    const auto position = static_cast<std::int32_t>(mSlots.size());
    Slot slot;
    slot.element = element;
    // The nearest boundaries at or below the new entry are those below it, but for the kinds the
    // element is itself.
    if (position == 0) {
        slot.nearest.fill(-1);
    } else {
        slot.nearest = mSlots.back().nearest;
    }
    for (unsigned bits = element.boundaries; bits != 0; bits &= bits - 1) {
        slot.nearest[static_cast<std::size_t>(std::countr_zero(bits))] = position;
    }
    std::vector<std::int32_t>& heads = headsFor(element);
    const NameId key = keyOf(element);
    if (key >= heads.size()) {
        heads.resize(std::size_t{key} + 1, -1);
    }
    slot.previousSameName = heads[key];
    heads[key] = position;
    if (element.node >= mPositionPlusOne.size()) {
        mPositionPlusOne.resize(
            std::max<std::size_t>(std::size_t{element.node} + 1, mPositionPlusOne.size() * 2));
    }
    mPositionPlusOne[element.node] = static_cast<std::uint32_t>(position) + 1;
    mSlots.push_back(slot);
}

std::vector<OpenElement> OpenElementStack::takeFrom(std::size_t position) {
    std::vector<OpenElement> taken;
    taken.reserve(mSlots.size() - std::min(position, mSlots.size()));
    while (mSlots.size() > position) {
        taken.push_back(pop());
    }
    std::reverse(taken.begin(), taken.end());
    return taken;
}

}  // namespace veltrano::html::parser
