#pragma once

#include <cstdint>

#include "platform/html/parser/node_tree.h"

namespace veltrano::html {

namespace css {
class Cascade;
}  // namespace css

// The box an element generates, told apart only as far as rendered text needs.
enum class Display : std::uint8_t {
    None,
    Contents,
    Inline,
    Block,        // block, list-item, flow-root
    InlineBlock,  // an atomic inline: laid out inside, a single unit to the line around it
    Flex,         // flex and grid: block-level, and their children become blocks
    InlineFlex,
    Table,
    InlineTable,
    HeaderGroup,
    RowGroup,
    FooterGroup,
    Row,
    Cell,
    Column,  // table-column and table-column-group: nothing inside is shown
    Caption,
};

enum class WhiteSpace : std::uint8_t {
    Collapse,        // normal, nowrap
    PreserveBreaks,  // pre-line
    Preserve,        // pre, pre-wrap, break-spaces
};

enum class TextTransform : std::uint8_t { None, Uppercase, Lowercase, Capitalize, MathAuto };

// The languages whose upper and lower case differ from everyone else's, as browsers map them:
// Turkish and Azeri dotted and dotless i, Lithuanian dots kept over accented i, Greek accents
// dropped in capitals.
enum class CaseLocale : std::uint8_t { Root, Turkic, Lithuanian, Greek };

// What rendered text does with an element beyond what its display says.
enum class ElementRole : std::uint8_t {
    Ordinary,
    LineBreak,  // br
    Paragraph,  // p: two required line breaks around it, whatever its display
    Replaced,   // img, input, textarea, iframe, video...: shows no text of its own
    Select,     // lists its options, one a line
    Option,     // shows its text alone on a line, also outside a select
};

// The inherited part of an element's style, as it reaches its children, together with what
// its ancestors decide about rendering. Two bytes, as it is kept for every cell of a table.
struct InheritedStyle {
    bool visible : 1 = true;
    WhiteSpace whiteSpace : 2 = WhiteSpace::Collapse;
    TextTransform textTransform : 3 = TextTransform::None;
    bool blockifiesChildren : 1 = false;  // a flex or grid container
    bool displayed : 1 = true;            // neither the element nor an ancestor is display:none
    bool rendersText : 1 = true;          // text here makes boxes (not in an svg outside <text>)
    // The content is laid out but never painted (inside a closed details, hidden="until-found"):
    // it has no rendered text at all, where content that is not displayed has its text content.
    bool locked : 1 = false;
    bool summaryOnly : 1 = false;  // a closed details: of its children only the first summary shows
    CaseLocale caseLocale : 2 = CaseLocale::Root;  // of the language the text is in

    friend bool operator==(const InheritedStyle&, const InheritedStyle&) = default;
};

struct ElementStyle {
    Display display = Display::Inline;
    ElementRole role = ElementRole::Ordinary;
    bool outOfFlow = false;    // floated or absolutely positioned: not part of the line
    InheritedStyle inherited;  // for the children
};

// The element's style from the user agent's defaults for its tag, its hidden and lang
// attributes and the author's declarations, given its parent's: those of the document's style
// sheets and the style attribute through cascade, or of the style attribute alone when there
// is no cascade (a document without style sheets).
ElementStyle resolveStyle(const parser::NodeTree& tree, parser::NodeId element,
                          const InheritedStyle& parent, css::Cascade* cascade = nullptr);

// Whether a child node (element or text) of the element that passes down parent is locked.
bool isLockedChild(const parser::NodeTree& tree, parser::NodeId child,
                   const InheritedStyle& parent);

// The style an element's parent passes down, found by resolving every ancestor below stop
// (kNoNode: every ancestor), given what stop passes down.
InheritedStyle inheritedStyleAbove(const parser::NodeTree& tree, parser::NodeId element,
                                   parser::NodeId stop = parser::kNoNode,
                                   const InheritedStyle& fromStop = InheritedStyle(),
                                   css::Cascade* cascade = nullptr);

bool isBlockLevel(Display display);

}  // namespace veltrano::html
