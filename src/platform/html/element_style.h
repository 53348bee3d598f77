#pragma once

#include <cstdint>

struct GumboInternalNode;

namespace veltrano::html {

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

// What rendered text does with an element beyond what its display says.
enum class ElementRole : std::uint8_t {
    Ordinary,
    LineBreak,  // br
    Paragraph,  // p: two required line breaks around it, whatever its display
    Replaced,   // img, input, textarea, iframe, video...: shows no text of its own
    Select,     // lists its options, one a line
    OptionGroup,
    Option,
};

// The inherited part of an element's style, as it reaches its children, together with what
// its ancestors decide about rendering. Small enough to be kept per cell of a big table.
struct InheritedStyle {
    bool visible = true;
    WhiteSpace whiteSpace = WhiteSpace::Collapse;
    TextTransform textTransform = TextTransform::None;
    bool blockifiesChildren = false;  // a flex or grid container
    bool displayed = true;            // no ancestor is display:none
    bool rendersText = true;          // text here makes boxes (not inside an svg outside <text>)
    // Content laid out but never painted (a closed details, hidden="until-found"): its
    // rendered text is empty, not its text content.
    bool locked = false;
    bool summaryOnly = false;  // a closed details: its first summary alone is shown
};

struct ElementStyle {
    Display display = Display::Inline;
    ElementRole role = ElementRole::Ordinary;
    bool outOfFlow = false;    // floated or absolutely positioned: not part of the line
    InheritedStyle inherited;  // for the children
};

// The element's style from the user agent's defaults for its tag, its hidden attribute and
// the declarations of its style attribute (style sheets are not applied), given its parent's.
ElementStyle resolveStyle(const GumboInternalNode& element, const InheritedStyle& parent);

// Whether a child (element or text) of an element with that style is locked content.
bool isLockedChild(const GumboInternalNode& child, const InheritedStyle& parent);

// The style an element's parent passes down, found by resolving every ancestor.
InheritedStyle inheritedStyleAbove(const GumboInternalNode& element);

bool isBlockLevel(Display display);

}  // namespace veltrano::html
