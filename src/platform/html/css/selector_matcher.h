#pragma once

#include <array>
#include <cstdint>

#include "platform/html/css/selector.h"
#include "platform/html/parser/node_tree.h"

namespace veltrano::html::css {

// Matches the selectors of a SelectorSet against elements of a tree, from the subject leftwards
// through parents and previous siblings, as far as the selector asks: the work is bounded by
// the selector's structure and the element's ancestors and siblings, never by the whole tree.
//
// In quirks mode class and id selectors ignore ASCII case, as the HTML Standard says.
class SelectorMatcher final {
public:
    SelectorMatcher(const SelectorSet& set, const parser::NodeTree& tree, bool quirksMode);

    // Whether the element matches complex selector number complex, its pseudo-element aside.
    bool matches(std::uint32_t complex, parser::NodeId element) const;

    // Forgets the positions counted among nodes below released, which have been let go; those
    // among its ancestors' children still hold.
    void forgetPositionsBelow(parser::NodeId released);

private:
    // How a failure limits the search of the combinators further right: FailsAllSiblings
    // means no earlier sibling of the element can do better, FailsCompletely that no element
    // with the same ancestors can.
    enum class Result : std::uint8_t { Matches, NoMatch, FailsAllSiblings, FailsCompletely };

    Result matchFrom(const ComplexSelector& complex, std::uint32_t compound,
                     parser::NodeId element) const;
    bool matchesCompound(const Compound& compound, parser::NodeId element) const;
    bool matchesSimple(const SimpleSelector& simple, parser::NodeId element) const;
    bool matchesList(std::uint32_t begin, std::uint32_t end, parser::NodeId element) const;
    bool matchesName(const SelectorName& name, parser::NodeId element, parser::NameId actual) const;
    bool matchesAttribute(const SimpleSelector& simple, parser::NodeId element) const;
    bool matchesTokenList(std::string_view list, std::string_view wanted, bool ignoreCase) const;
    bool matchesNth(const SimpleSelector& simple, parser::NodeId element) const;
    std::int64_t position(parser::NodeId element, bool backwards, bool ofType) const;
    bool isEmpty(parser::NodeId element) const;
    bool isLink(parser::NodeId element) const;
    bool isDefined(parser::NodeId element) const;

    parser::NodeId parentElement(parser::NodeId element) const;
    parser::NodeId previousElement(parser::NodeId element) const;
    parser::NodeId nextElement(parser::NodeId element) const;

    // A position among siblings counted before. Rows and cells are styled one after the
    // other, so counting goes on from the last one instead of starting over, which keeps
    // :nth-child() linear in the number of rows. An entry holds only while its element keeps
    // its parent and the sibling it had, which insertions before it would change.
    struct Position {
        parser::NodeId parent = parser::kNoNode;
        parser::NodeId element = parser::kNoNode;
        parser::NodeId neighbour = parser::kNoNode;  // the sibling counted towards, when counted
        parser::NameId type = 0;                     // for *-of-type; 0 for any element
        bool backwards = false;
        std::int64_t index = 0;
    };

    const SelectorSet& mSet;
    const parser::NodeTree& mTree;
    bool mQuirksMode;
    mutable std::array<Position, 16> mPositions{};
};

}  // namespace veltrano::html::css
