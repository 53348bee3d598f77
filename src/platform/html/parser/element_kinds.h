#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/html/parser/names.h"

namespace veltrano::html::parser {

// The categories the HTML Standard's tree construction sorts elements into, one bit each.
// An element's categories follow from its local name and namespace alone.
enum ElementKind : std::uint32_t {
    // The first eight are the kinds at which the searches down the stack of open elements stop,
    // in the order of Boundary (open_element_stack.h), so that an element's Boundary bits are its
    // kinds' low byte.
    // Elements that end the search of "has an element in scope" and its variants.
    kScopeBoundary = 1u << 0,
    kListItemScopeBoundary = 1u << 1,
    kButtonScopeBoundary = 1u << 2,
    kTableScopeBoundary = 1u << 3,
    kSpecial = 1u << 4,  // the "special" category
    // What the li, dd and dt start tags in "in body" stop at.
    kSpecialOtherThanAddressDivP = 1u << 5,
    kHtmlElement = 1u << 6,  // every element in the HTML namespace
    // Elements "reset the insertion mode appropriately" decides on.
    kInsertionModeAnchor = 1u << 7,
    kFormatting = 1u << 8,  // the "formatting" category
    // Popped by "generate implied end tags", and the wider set by "generate all implied end
    // tags thoroughly".
    kImpliedEndTag = 1u << 9,
    kImpliedEndTagThoroughly = 1u << 10,
    // The current nodes for which foster parenting moves insertions before the table.
    kFosterParentingTarget = 1u << 11,
    kHeading = 1u << 12,  // h1 to h6
    kMathMlTextIntegrationPoint = 1u << 13,
    // foreignObject, desc and title in SVG; annotation-xml is one only by its encoding.
    kSvgHtmlIntegrationPoint = 1u << 14,
    kTableCell = 1u << 15,     // td, th
    kTableSection = 1u << 16,  // tbody, thead, tfoot
    // What "clear the stack back to a table context", "... a table body context" and "... a table
    // row context" keep (the first are the table scope's boundaries).
    kTableContext = kTableScopeBoundary,
    kTableBodyContext = 1u << 17,
    kTableRowContext = 1u << 18,
    kTemplate = 1u << 19,  // template, whose insertions go into its contents
};
inline constexpr std::uint32_t kBoundaryKinds = 0xFF;

// Per namespace (in Namespace's order) and known name, the element's kinds; built at compile
// time, so that a lookup is one load (element_kinds.cpp).
extern const std::array<std::array<std::uint32_t, kKnownNameCount>, 3> kElementKindTables;

inline std::uint32_t elementKinds(NameId name, Namespace ns) {
    if (name < kKnownNameCount) {
        return kElementKindTables[static_cast<std::size_t>(ns)][name];
    }
    return ns == Namespace::Html ? std::uint32_t{kHtmlElement} : 0;
}

// The name as a KnownName, for a switch over tag names (None for names the engine does not know).
constexpr KnownName known(NameId name) {
    return name < kKnownNameCount ? static_cast<KnownName>(name) : KnownName::None;
}

}  // namespace veltrano::html::parser
