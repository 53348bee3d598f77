#include "platform/html/parser/open_element_stack.h"

#include <emmintrin.h>

#include <algorithm>

namespace veltrano::html::parser {
namespace {

// A new entry's nearest boundaries: the entry's own position for the kinds it is (the bits of
// boundaries), the entry below's nearest for the others. Every push does this for all eight
// kinds, so it is done as a blend of four lanes at a time with SSE2 (the x86-64 baseline):
// lane b takes position where bit b is set.
inline void markOwnBoundaries(std::array<std::int32_t, kBoundaryCount>& nearest,
                              const std::array<std::int32_t, kBoundaryCount>& below,
                              std::int32_t position, std::uint16_t boundaries) {
    static_assert(kBoundaryCount == 8);
    const __m128i own = _mm_set1_epi32(position);
    const __m128i bits = _mm_set1_epi32(boundaries);
    const auto blend = [&](std::size_t first, __m128i laneBits) {
        const __m128i isOwn = _mm_cmpeq_epi32(_mm_and_si128(bits, laneBits), laneBits);
        const __m128i old = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&below[first]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(&nearest[first]),
                         _mm_or_si128(_mm_and_si128(isOwn, own), _mm_andnot_si128(isOwn, old)));
    };
    blend(0, _mm_setr_epi32(1, 2, 4, 8));
    blend(4, _mm_setr_epi32(16, 32, 64, 128));
}

}  // namespace

void OpenElementStack::push(const OpenElement& element) {
    static constexpr std::array<std::int32_t, kBoundaryCount> kNoneBelow = {-1, -1, -1, -1,
                                                                            -1, -1, -1, -1};
    const auto position = static_cast<std::int32_t>(mSlots.size());
    std::vector<std::int32_t>& heads = headsFor(element);
    const NameId key = keyOf(element);
    if (key >= heads.size() || element.node >= mPositionPlusOne.size()) {
        makeRoomFor(element);
    }
    mPositionPlusOne[element.node] = static_cast<std::uint32_t>(position) + 1;
    Slot& slot = mSlots.emplace_back();
    slot.element = element;
    slot.previousSameName = heads[key];
    heads[key] = position;
    markOwnBoundaries(slot.nearest, position == 0 ? kNoneBelow : mSlots[mSlots.size() - 2].nearest,
                      position, element.boundaries);
}

// The lookups grow as names and node numbers arrive; out of line, so that a push that needs no
// room saves no registers for it.
void OpenElementStack::makeRoomFor(const OpenElement& element) {
    std::vector<std::int32_t>& heads = headsFor(element);
    const NameId key = keyOf(element);
    if (key >= heads.size()) {
        heads.resize(std::size_t{key} + 1, -1);
    }
    if (element.node >= mPositionPlusOne.size()) {
        mPositionPlusOne.resize(
            std::max<std::size_t>(std::size_t{element.node} + 1, mPositionPlusOne.size() * 2));
    }
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
