#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/html/parser/names.h"
#include "platform/html/parser/node_tree.h"

namespace veltrano::html::parser {

// The kinds of element at which the tree builder's searches down the stack of open elements
// stop. For each entry and kind the stack keeps where the nearest such element lies at or below
// the entry, so that every search is answered without walking the stack.
enum class Boundary : std::uint8_t {
    Scope,                        // "has an element in scope"
    ListItemScope,                // "... in list item scope"
    ButtonScope,                  // "... in button scope"
    TableScope,                   // "... in table scope"
    Special,                      // "any other end tag" in the "in body" insertion mode
    SpecialOtherThanAddressDivP,  // the li, dd and dt start tags in "in body"
    HtmlElement,                  // "any other end tag" in foreign content
    InsertionModeAnchor,          // "reset the insertion mode appropriately"
};
inline constexpr std::size_t kBoundaryCount = 8;

constexpr std::uint16_t boundaryBit(Boundary boundary) {
    return static_cast<std::uint16_t>(1u << static_cast<unsigned>(boundary));
}

struct OpenElement {
    NodeId node = kNoNode;
    NameId name = 0;     // the local name, as the tree has it
    NameId tagName = 0;  // the name of the tag that opened it (foreign names in lower case)
    Namespace ns = Namespace::Html;
    bool htmlIntegrationPoint = false;
    std::uint16_t boundaries = 0;  // the Boundary kinds this element is, one bit each
    // Its ElementKind categories, kept so that questions about the current node need no lookup.
    std::uint32_t kinds = 0;
};

// The stack of open elements (the HTML Standard's "stack of open elements"; position 0 is its
// bottom, the html element). Besides the entries it keeps, for every tag name, the most recent
// entry with that name and a link from each entry to the previous one with the same name, and
// for every node its position: "is on the stack", "the topmost p" and "has a p element in
// button scope" cost O(1). An edit in the middle costs what lies above it.
class OpenElementStack final {
public:
    static constexpr std::ptrdiff_t kNone = -1;

    bool empty() const { return mSlots.empty(); }
    std::size_t size() const { return mSlots.size(); }
    const OpenElement& operator[](std::size_t position) const { return mSlots[position].element; }
    const OpenElement& current() const { return mSlots.back().element; }

    void push(const OpenElement& element);
    OpenElement pop() {
        const Slot& slot = mSlots.back();
        const OpenElement element = slot.element;
        headsFor(element)[keyOf(element)] = slot.previousSameName;
        mPositionPlusOne[element.node] = 0;
        mSlots.pop_back();
        return element;
    }
    // Takes off the entries from position up and returns them, bottom first: an edit in the
    // middle takes off what lies above it and pushes back what stays.
    std::vector<OpenElement> takeFrom(std::size_t position);

    bool contains(NodeId node) const { return positionOf(node) != kNone; }
    std::ptrdiff_t positionOf(NodeId node) const {
        if (node >= mPositionPlusOne.size()) {
            return kNone;
        }
        return static_cast<std::ptrdiff_t>(mPositionPlusOne[node]) - 1;
    }
    // The position of the most recent HTML element with this local name, or kNone.
    std::ptrdiff_t topmostHtml(NameId name) const { return lookUp(mTopmostHtml, name); }
    // The position of the most recent foreign element opened by a tag of this name, or kNone.
    std::ptrdiff_t topmostForeign(NameId tagName) const { return lookUp(mTopmostForeign, tagName); }
    // The position of the nearest element of this kind, or kNone.
    std::ptrdiff_t nearest(Boundary boundary) const {
        return mSlots.empty() ? kNone : mSlots.back().nearest[static_cast<std::size_t>(boundary)];
    }

    // "has an element in scope" for an HTML element of this name, in the given scope. The
    // element is in scope when no boundary lies between it and the top; a boundary that is the
    // element itself does not hide it.
    bool hasInScope(NameId name, Boundary scope) const {
        const std::ptrdiff_t position = topmostHtml(name);
        return position != kNone && position >= nearest(scope);
    }
    bool hasInScope(KnownName name, Boundary scope) const {
        return hasInScope(nameId(name), scope);
    }
    // "has a particular element in scope" for the node itself.
    bool hasNodeInScope(NodeId node, Boundary scope) const {
        const std::ptrdiff_t position = positionOf(node);
        return position != kNone && position >= nearest(scope);
    }

private:
    struct Slot {
        OpenElement element;
        std::int32_t previousSameName = -1;
        std::array<std::int32_t, kBoundaryCount> nearest{};
    };

    static std::ptrdiff_t lookUp(const std::vector<std::int32_t>& heads, NameId name) {
        return name < heads.size() ? heads[name] : kNone;
    }
    [[gnu::noinline]] void makeRoomFor(const OpenElement& element);
    std::vector<std::int32_t>& headsFor(const OpenElement& element) {
        return element.ns == Namespace::Html ? mTopmostHtml : mTopmostForeign;
    }
    NameId keyOf(const OpenElement& element) const {
        return element.ns == Namespace::Html ? element.name : element.tagName;
    }

    std::vector<Slot> mSlots;
    std::vector<std::int32_t> mTopmostHtml;       // by local name, grown as names arrive
    std::vector<std::int32_t> mTopmostForeign;    // by tag name
    std::vector<std::uint32_t> mPositionPlusOne;  // by node number; 0: not on the stack
};

}  // namespace veltrano::html::parser
