#include "platform/html/parser/active_formatting_list.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <tuple>

namespace veltrano::html::parser {
namespace {

std::uint64_t mix(std::uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb93fe53a87ceULL;
    x ^= x >> 33;
    return x;
}

std::uint64_t tagKeyOf(NameId name, std::uint64_t attributesHash) {
    return mix(attributesHash + name);
}

// Above this many attributes two sets are compared sorted rather than pair by pair.
constexpr std::size_t kPairwiseLimit = 8;

}  // namespace

std::uint64_t ActiveFormattingList::hashAttributes(std::span<const Attribute> attributes) const {
    // A sum of per-attribute hashes, so that the order of the attributes does not count.
    std::uint64_t sum = attributes.size();
    for (const Attribute& attribute : attributes) {
        const std::uint64_t value = std::hash<std::string_view>{}(mText.view(attribute.value));
        sum +=
            mix(value ^ (std::uint64_t{attribute.name} << 8 | static_cast<unsigned>(attribute.ns)));
    }
    return sum;
}

bool ActiveFormattingList::sameAttributes(const FormattingEntry& a,
                                          const FormattingEntry& b) const {
    if (a.attributes.size() != b.attributes.size() || a.attributesHash != b.attributesHash) {
        return false;
    }
    using Key = std::tuple<NameId, AttributeNamespace, std::string_view>;
    const auto key = [&](const Attribute& attribute) {
        return Key{attribute.name, attribute.ns, mText.view(attribute.value)};
    };
    if (a.attributes.size() <= kPairwiseLimit) {
        // Names are unique within a tag, so every attribute of a must be found in b.
        return std::all_of(a.attributes.begin(), a.attributes.end(), [&](const Attribute& x) {
            return std::any_of(b.attributes.begin(), b.attributes.end(),
                               [&](const Attribute& y) { return key(x) == key(y); });
        });
    }
    std::vector<Key> left;
    std::vector<Key> right;
    for (const Attribute& attribute : a.attributes) {
        left.push_back(key(attribute));
    }
    for (const Attribute& attribute : b.attributes) {
        right.push_back(key(attribute));
    }
    std::sort(left.begin(), left.end());
    std::sort(right.begin(), right.end());
    return left == right;
}

void ActiveFormattingList::noteIndex(NodeId node, std::size_t indexPlusOne) {
    if (node == kNoNode || node == kReleasedNode) {
        return;
    }
    if (node >= mIndexPlusOne.size()) {
        mIndexPlusOne.resize(
            std::max<std::size_t>(std::size_t{node} + 1, mIndexPlusOne.size() * 2));
    }
    mIndexPlusOne[node] = static_cast<std::uint32_t>(indexPlusOne);
}

void ActiveFormattingList::pushSlot(FormattingEntry entry) {
    const auto index = static_cast<std::int32_t>(mSlots.size());
    Slot slot;
    if (entry.isMarker()) {
        mMarkers.push_back(index);
    } else {
        if (entry.name >= mLastByName.size()) {
            mLastByName.resize(std::size_t{entry.name} + 1, -1);
        }
        slot.previousSameName = mLastByName[entry.name];
        mLastByName[entry.name] = index;
        slot.tagKey = tagKeyOf(entry.name, entry.attributesHash);
        const auto [it, inserted] = mLastByTag.try_emplace(slot.tagKey, index);
        if (!inserted) {
            slot.previousSameTag = it->second;
            it->second = index;
        }
        noteIndex(entry.node, std::size_t(index) + 1);
    }
    slot.entry = std::move(entry);
    mSlots.push_back(std::move(slot));
}

FormattingEntry ActiveFormattingList::popSlot() {
    FormattingEntry entry = std::move(mSlots.back().entry);
    unlinkLastSlot(entry);
    return entry;
}

void ActiveFormattingList::dropLastSlot() {
    unlinkLastSlot(mSlots.back().entry);
}

// Undoes pushSlot for the last slot, whose entry is given (the caller may have moved it out).
void ActiveFormattingList::unlinkLastSlot(const FormattingEntry& entry) {
    const Slot& slot = mSlots.back();
    if (entry.isMarker()) {
        mMarkers.pop_back();
    } else {
        mLastByName[entry.name] = slot.previousSameName;
        if (slot.previousSameTag == -1) {
            mLastByTag.erase(slot.tagKey);
        } else {
            mLastByTag[slot.tagKey] = slot.previousSameTag;
        }
        noteIndex(entry.node, 0);
    }
    mSlots.pop_back();
}

std::vector<FormattingEntry> ActiveFormattingList::takeFrom(std::size_t index) {
    std::vector<FormattingEntry> taken;
    while (mSlots.size() > index) {
        taken.push_back(popSlot());
    }
    std::reverse(taken.begin(), taken.end());
    return taken;
}

void ActiveFormattingList::pushElement(NodeId node, NameId name,
                                       std::span<const Attribute> attributes) {
    FormattingEntry entry;
    entry.node = node;
    entry.name = name;
    entry.attributes.assign(attributes.begin(), attributes.end());
    entry.attributesHash = hashAttributes(attributes);
    // Noah's Ark: at most three equal entries after the last marker; the earliest goes.
    const std::uint64_t key = tagKeyOf(name, entry.attributesHash);
    if (const auto it = mLastByTag.find(key); it != mLastByTag.end()) {
        int equal = 0;
        std::int32_t earliest = -1;
        for (std::int32_t i = it->second; i != -1 && i > lastMarker();
             i = mSlots[i].previousSameTag) {
            const FormattingEntry& other = mSlots[i].entry;
            if (other.name == name && sameAttributes(other, entry)) {
                ++equal;
                earliest = i;
            }
        }
        if (equal >= 3) {
            remove(static_cast<std::size_t>(earliest));
        }
    }
    pushSlot(std::move(entry));
}

void ActiveFormattingList::clearEntriesToLastMarker() {
    while (!mSlots.empty()) {
        const bool marker = mSlots.back().entry.isMarker();
        dropLastSlot();
        if (marker) {
            return;
        }
    }
}

std::ptrdiff_t ActiveFormattingList::lastAfterMarker(NameId name) const {
    if (name >= mLastByName.size()) {
        return kNone;
    }
    const std::ptrdiff_t index = mLastByName[name];
    return index > lastMarker() ? index : kNone;
}

std::ptrdiff_t ActiveFormattingList::indexOf(NodeId node) const {
    if (node >= mIndexPlusOne.size()) {
        return kNone;
    }
    return static_cast<std::ptrdiff_t>(mIndexPlusOne[node]) - 1;
}

void ActiveFormattingList::remove(std::size_t index) {
    std::vector<FormattingEntry> taken = takeFrom(index);
    for (std::size_t i = 1; i < taken.size(); ++i) {
        pushSlot(std::move(taken[i]));
    }
}

void ActiveFormattingList::insert(std::size_t index, FormattingEntry entry) {
    std::vector<FormattingEntry> taken = takeFrom(index);
    pushSlot(std::move(entry));
    for (FormattingEntry& moved : taken) {
        pushSlot(std::move(moved));
    }
}

void ActiveFormattingList::replaceNode(std::size_t index, NodeId node) {
    FormattingEntry& entry = mSlots[index].entry;
    noteIndex(entry.node, 0);
    entry.node = node;
    noteIndex(node, index + 1);
}

}  // namespace veltrano::html::parser
