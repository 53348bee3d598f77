#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "platform/html/parser/names.h"
#include "platform/html/parser/node_tree.h"
#include "platform/html/parser/text_store.h"

namespace veltrano::html::parser {

// An entry's element once its node has been let go (TreeBuilder::releaseChildren): the entry
// stays, to be reconstructed from its tag, but matches no node of the tree any more.
inline constexpr NodeId kReleasedNode = 0xFFFFFFFFu;

// One entry of the list: a marker, or a formatting element with the tag that made it (name and
// attributes), which the tree builder copies when it reconstructs or adopts the element.
struct FormattingEntry {
    NodeId node = kNoNode;  // kNoNode: a marker
    NameId name = 0;
    std::vector<Attribute> attributes;
    std::uint64_t attributesHash = 0;  // of the set of attributes, in any order

    bool isMarker() const { return node == kNoNode; }
};

// The HTML Standard's "list of active formatting elements". Like the stack of open elements it
// keeps, per tag name, the last entry and a link from each entry to the previous one with the
// same name, and per node its index: finding "the last a element after the last marker" and
// "is in the list" cost O(1). The Noah's Ark clause follows links between entries with the same
// name and attributes only, so it costs O(1) too. An edit in the middle costs what lies after.
class ActiveFormattingList final {
public:
    static constexpr std::ptrdiff_t kNone = -1;

    explicit ActiveFormattingList(const TextStore& text) : mText(text) {}

    bool empty() const { return mSlots.empty(); }
    std::size_t size() const { return mSlots.size(); }
    const FormattingEntry& operator[](std::size_t index) const { return mSlots[index].entry; }

    // Always inline: every cell pushes a marker, and out of line the growth paths it carries
    // would cost the call more than the push.
    [[gnu::always_inline]] void pushMarker() {
        // What pushSlot does for a marker, which has no name, node or attributes to note.
        mMarkers.push_back(static_cast<std::int32_t>(mSlots.size()));
        mSlots.emplace_back();
    }
    // "Push onto the list of active formatting elements", Noah's Ark clause included.
    void pushElement(NodeId node, NameId name, std::span<const Attribute> attributes);
    // "Clear the list of active formatting elements up to the last marker".
    void clearToLastMarker() {
        // A marker last, as a cell leaves it, is all there is to clear; the general loop's
        // first step would take it off the same way.
        if (!mSlots.empty() && mSlots.back().entry.isMarker()) {
            mMarkers.pop_back();
            mSlots.pop_back();
            return;
        }
        clearEntriesToLastMarker();
    }

    // The last element with this name after the last marker, or kNone.
    std::ptrdiff_t lastAfterMarker(NameId name) const;
    std::ptrdiff_t indexOf(NodeId node) const;
    bool contains(NodeId node) const { return indexOf(node) != kNone; }

    void remove(std::size_t index);
    void insert(std::size_t index, FormattingEntry entry);
    void replaceNode(std::size_t index, NodeId node);

    // How many of the entries are markers.
    std::size_t markerCount() const { return mMarkers.size(); }

private:
    struct Slot {
        FormattingEntry entry;
        std::int32_t previousSameName = -1;
        std::int32_t previousSameTag = -1;  // same name and attributes hash
        std::uint64_t tagKey = 0;
    };

    std::uint64_t hashAttributes(std::span<const Attribute> attributes) const;
    bool sameAttributes(const FormattingEntry& a, const FormattingEntry& b) const;
    void pushSlot(FormattingEntry entry);
    void clearEntriesToLastMarker();
    FormattingEntry popSlot();
    void dropLastSlot();
    void unlinkLastSlot(const FormattingEntry& entry);
    std::vector<FormattingEntry> takeFrom(std::size_t index);
    void noteIndex(NodeId node, std::size_t indexPlusOne);
    std::ptrdiff_t lastMarker() const { return mMarkers.empty() ? kNone : mMarkers.back(); }

    const TextStore& mText;
    std::vector<Slot> mSlots;
    std::vector<std::int32_t> mMarkers;                          // indexes of the markers, in order
    std::vector<std::int32_t> mLastByName;                       // by name
    std::unordered_map<std::uint64_t, std::int32_t> mLastByTag;  // by tagKey
    std::vector<std::uint32_t> mIndexPlusOne;  // by node number; 0: not in the list
};

}  // namespace veltrano::html::parser
