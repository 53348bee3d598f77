#include "platform/html/parser/open_element_stack.h"

#include <algorithm>
#include <bit>

namespace veltrano::html::parser {
namespace {

std::ptrdiff_t lookUp(const std::vector<std::int32_t>& heads, NameId name) {
    return name < heads.size() ? heads[name] : OpenElementStack::kNone;
}

}  // namespace

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

OpenElement OpenElementStack::pop() {
    const Slot& slot = mSlots.back();
    const OpenElement element = slot.element;
    headsFor(element)[keyOf(element)] = slot.previousSameName;
    mPositionPlusOne[element.node] = 0;
    mSlots.pop_back();
    return element;
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

std::ptrdiff_t OpenElementStack::positionOf(NodeId node) const {
    if (node >= mPositionPlusOne.size()) {
        return kNone;
    }
    return static_cast<std::ptrdiff_t>(mPositionPlusOne[node]) - 1;
}

std::ptrdiff_t OpenElementStack::topmostHtml(NameId name) const {
    return lookUp(mTopmostHtml, name);
}

std::ptrdiff_t OpenElementStack::topmostForeign(NameId tagName) const {
    return lookUp(mTopmostForeign, tagName);
}

std::ptrdiff_t OpenElementStack::nearest(Boundary boundary) const {
    return mSlots.empty() ? kNone : mSlots.back().nearest[static_cast<std::size_t>(boundary)];
}

// The element is in scope when no boundary lies between it and the top; a boundary that is
// the element itself does not hide it.
bool OpenElementStack::hasInScope(NameId name, Boundary scope) const {
    const std::ptrdiff_t position = topmostHtml(name);
    return position != kNone && position >= nearest(scope);
}

bool OpenElementStack::hasNodeInScope(NodeId node, Boundary scope) const {
    const std::ptrdiff_t position = positionOf(node);
    return position != kNone && position >= nearest(scope);
}

}  // namespace veltrano::html::parser
