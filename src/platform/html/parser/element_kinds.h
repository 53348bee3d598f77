#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/html/parser/names.h"

namespace veltrano::html::parser {

// The categories the HTML Standard's tree construction sorts elements into, one bit each.
// An element's categories follow from its local name and namespace alone.
enum ElementKind : std::uint32_t {
    kSpecial = 1u << 0,     // the "special" category
    kFormatting = 1u << 1,  // the "formatting" category
    // Popped by "generate implied end tags", and the wider set by "generate all implied end
    // tags thoroughly".
    kImpliedEndTag = 1u << 2,
    kImpliedEndTagThoroughly = 1u << 3,
    // Elements that end the search of "has an element in scope" and its variants.
    kScopeBoundary = 1u << 4,
    kListItemScopeBoundary = 1u << 5,
    kButtonScopeBoundary = 1u << 6,
    kTableScopeBoundary = 1u << 7,  // also what "clear the stack back to a table context" keeps
    // Elements "reset the insertion mode appropriately" decides on.
    kInsertionModeAnchor = 1u << 8,
    // The current nodes for which foster parenting moves insertions before the table.
    kFosterParentingTarget = 1u << 9,
    kHeading = 1u << 10,  // h1 to h6
    kMathMlTextIntegrationPoint = 1u << 11,
    // foreignObject, desc and title in SVG; annotation-xml is one only by its encoding.
    kSvgHtmlIntegrationPoint = 1u << 12,
    kTableCell = 1u << 13,     // td, th
    kTableSection = 1u << 14,  // tbody, thead, tfoot
};

// Per namespace (in Namespace's order) and known name, the element's kinds; built at compile
// time, so that a lookup is one load (element_kinds.cpp).
extern const std::array<std::array<std::uint32_t, kKnownNameCount>, 3> kElementKindTables;

inline std::uint32_t elementKinds(NameId name, Namespace ns) {
    return name < kKnownNameCount ? kElementKindTables[static_cast<std::size_t>(ns)][name] : 0;
}

// The name as a KnownName, for a switch over tag names (None for names the engine does not know).
constexpr KnownName known(NameId name) {
    return name < kKnownNameCount ? static_cast<KnownName>(name) : KnownName::None;
}

}  // namespace veltrano::html::parser
