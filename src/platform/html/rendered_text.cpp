#include "platform/html/rendered_text.h"

#include "platform/html/ascii_case.h"
#include "platform/html/css/cascade.h"
#include "platform/html/css/cascaded_style.h"

#include <optional>

#include "platform/html/html_element.h"
#include "platform/html/tree_walk.h"

namespace veltrano::html {
namespace {

bool isTable(Display display) {
    return display == Display::Table || display == Display::InlineTable;
}

// Boxes whose own text (white space between their parts) is never shown.
bool dropsWhiteSpaceText(Display display) {
    switch (display) {
        case Display::Table:
        case Display::InlineTable:
        case Display::HeaderGroup:
        case Display::RowGroup:
        case Display::FooterGroup:
        case Display::Row:
        case Display::Column:
            return true;
        default:
            return false;
    }
}

bool isTablePart(Display display) {
    switch (display) {
        case Display::HeaderGroup:
        case Display::RowGroup:
        case Display::FooterGroup:
        case Display::Row:
        case Display::Cell:
        case Display::Column:
            return true;
        default:
            return false;
    }
}

bool isRowGroup(Display display) {
    return display == Display::HeaderGroup || display == Display::RowGroup ||
           display == Display::FooterGroup;
}

bool isWhiteSpaceOnly(const NodeTree& tree, NodeId text) {
    bool onlySpace = true;
    tree.forEachTextPiece(text, [&](std::string_view piece) {
        onlySpace = onlySpace && piece.find_first_not_of(" \t\n\f\r") == std::string_view::npos;
    });
    return onlySpace;
}

// Replaced elements and select are atomic even when their display says inline.
bool isAtomic(const ElementStyle& style) {
    switch (style.display) {
        case Display::InlineBlock:
        case Display::InlineFlex:
        case Display::InlineTable:
            return true;
        case Display::Inline:
            return style.role == ElementRole::Replaced || style.role == ElementRole::Select;
        default:
            return false;
    }
}

// A paragraph is set off by two line breaks, whatever its display; other block-level boxes
// (floats and positioned boxes are made blocks) by one. Invisible boxes add none.
int requiredBreaks(const ElementStyle& style) {
    if (!style.inherited.visible) {
        return 0;
    }
    if (style.role == ElementRole::Paragraph) {
        return 2;
    }
    return isBlockLevel(style.display) ? 1 : 0;
}

bool isAsciiWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

// Text that collapsing white space leaves as it is: no tab, segment break or form feed, and
// spaces only single and between other characters.
bool isAlreadyCollapsed(std::string_view text) {
    char previous = ' ';
    for (const char c : text) {
        if (c == '\t' || c == '\n' || c == '\r' || c == '\f' || (c == ' ' && previous == ' ')) {
            return false;
        }
        previous = c;
    }
    return previous != ' ' || text.empty();
}

// Most cells of large tables are an element without attributes holding one plain text in the
// default style: their rendered text is that text. Nothing when the element needs the walk.
std::optional<std::string_view> plainText(const NodeTree& tree, NodeId element,
                                          const InheritedStyle& inherited) {
    const Node& node = tree[element];
    if (node.ns != Namespace::Html || node.b != 0 || inherited != InheritedStyle() ||
        (node.firstChild != node.lastChild)) {
        return std::nullopt;
    }
    switch (static_cast<KnownName>(node.name)) {
        case KnownName::Td:
        case KnownName::Th:
        case KnownName::Div:
        case KnownName::Span:
            break;
        default:
            return std::nullopt;
    }
    if (node.firstChild == parser::kNoNode) {
        return std::string_view();
    }
    const Node& child = tree[node.firstChild];
    if (!isText(child) || child.segmented) {
        return std::nullopt;
    }
    const std::string_view text = tree.text().view({child.a, child.b});
    return isAlreadyCollapsed(text) ? std::optional(text) : std::nullopt;
}

// What an element that plainText accepts has without style sheets: its parent passes down the
// default, and it has no attributes.
ElementStyle defaultStyleOfPlain(const Node& element) {
    ElementStyle style;
    style.display =
        element.name == parser::nameId(KnownName::Td) ||
                element.name == parser::nameId(KnownName::Th)
            ? Display::Cell
            : (element.name == parser::nameId(KnownName::Div) ? Display::Block : Display::Inline);
    return style;
}

bool sameStyle(const ElementStyle& a, const ElementStyle& b) {
    return a.display == b.display && a.role == b.role && a.outOfFlow == b.outOfFlow &&
           a.inherited == b.inherited;
}

}  // namespace

RenderedText::RenderedText() = default;
RenderedText::~RenderedText() = default;

std::string_view RenderedText::text(const Element& element) {
    return text(element.tree(), element.node(),
                inheritedStyleAbove(element.tree(), element.node()));
}

std::string_view RenderedText::text(const NodeTree& tree, NodeId element,
                                    const InheritedStyle& inherited, css::Cascade* cascade) {
    mCascade = cascade;
    if (const std::optional<std::string_view> plain = plainText(tree, element, inherited)) {
        // Style sheets leave it plain when they give it no value (most cells of a page whose
        // rules style other elements) or the style it has by default, and no generated content.
        if (cascade == nullptr) {
            return *plain;
        }
        if (!cascade->hasPseudoElementContent(element) &&
            (cascade->element(element).empty() ||
             sameStyle(resolveStyle(tree, element, inherited, cascade),
                       defaultStyleOfPlain(tree[element])))) {
            return *plain;
        }
    }
    mTree = &tree;
    mBuilder.reset();
    // innerText exists on HTML elements only; for others (svg, math) a caller gets
    // textContent, as does one asking about an element that is not being rendered.
    if (tree[element].ns != Namespace::Html) {
        return textContent(element);
    }
    if (isLockedChild(tree, element, inherited)) {
        return mBuilder.result();
    }
    const ElementStyle style = resolveStyle(tree, element, inherited, mCascade);
    if (!inherited.displayed || !inherited.rendersText || style.display == Display::None) {
        return textContent(element);
    }
    if (style.role == ElementRole::Replaced) {
        return mBuilder.result();
    }
    if (style.role == ElementRole::Select) {
        listOptions(element);
        return mBuilder.result();
    }
    mFrames.clear();
    mFrames.push_back(frameFor(element, style));
    generated(element, style, css::PseudoElement::Before);
    walkBelow(
        tree, element, [this](NodeId node) { return enter(node); }, [this](NodeId) { leave(); });
    generated(element, style, css::PseudoElement::After);
    return mBuilder.result();
}

std::string_view RenderedText::textContent(NodeId element) {
    mText.clear();
    appendTextContent(*mTree, element, mText);
    return mText;
}

RenderedText::Frame RenderedText::frameFor(NodeId node, const ElementStyle& style) const {
    return {node, style,
            isTable(style.display) ? lastRowOf(node, style.inherited) : parser::kNoNode};
}

bool RenderedText::enter(NodeId id) {
    const NodeTree& tree = *mTree;
    const Node& node = tree[id];
    const ElementStyle& parent = mFrames.back().style;
    if (isLockedChild(tree, id, parent.inherited)) {
        return false;
    }
    if (isText(node)) {
        if (parent.inherited.rendersText &&
            !(dropsWhiteSpaceText(parent.display) && isWhiteSpaceOnly(tree, id))) {
            tree.forEachTextPiece(
                id, [&](std::string_view piece) { mBuilder.text(piece, parent.inherited); });
        }
        return false;
    }
    if (!isElement(node) || parent.display == Display::Column) {
        return false;
    }
    const ElementStyle style = resolveStyle(tree, id, parent.inherited, mCascade);
    if (style.display == Display::None) {
        return false;
    }
    const bool visible = style.inherited.visible;
    const Frame frame = frameFor(id, style);
    switch (style.role) {
        case ElementRole::LineBreak:
            mBuilder.lineBreak(visible);
            return false;
        case ElementRole::Replaced:
            open(frame);
            close(frame);
            return false;
        case ElementRole::Select:
            open(frame);
            if (visible) {
                listOptions(id);
            }
            close(frame);
            return false;
        case ElementRole::Option:
            open(frame);
            if (visible) {
                option(id);
            }
            close(frame);
            return false;
        default:
            open(frame);
            mFrames.push_back(frame);
            generated(id, style, css::PseudoElement::Before);
            return true;
    }
}

void RenderedText::leave() {
    const Frame frame = mFrames.back();
    generated(frame.node, frame.style, css::PseudoElement::After);
    mFrames.pop_back();
    close(frame);
}

// Generated content is never part of the text, but it is laid out: its text takes its place in
// the line as hidden text does (a separator ending in a space takes up the space after it), a
// block of it ends the line, and an inline block of it is one unit of the line.
void RenderedText::generated(NodeId element, const ElementStyle& style, css::PseudoElement which) {
    if (mCascade == nullptr || !mCascade->hasPseudoElementRules()) {
        return;
    }
    const css::CascadedValues& values = mCascade->pseudoElement(element, which);
    const std::optional<css::DeclaredValue>& content = values[css::Property::Content];
    if (!content || content->wide != css::WideKeyword::None ||
        content->keyword != static_cast<std::uint8_t>(css::ContentKeyword::Items)) {
        return;
    }
    ElementStyle box;
    box.inherited = style.inherited;
    box.outOfFlow = css::applyCascadedValues(values, style.inherited, box);
    if (box.display == Display::None) {
        return;
    }
    mGenerated.clear();
    for (const css::ContentItem& item : mCascade->content(*content)) {
        if (item.kind == css::ContentItem::Kind::Text) {
            mGenerated += item.text;
        } else if (item.kind == css::ContentItem::Kind::Symbol) {
            mGenerated += '*';
        } else {
            for (const parser::Attribute& attribute : mTree->attributes(element)) {
                if (attribute.ns == parser::AttributeNamespace::None &&
                    equalsIgnoringAsciiCase(mTree->nameText(attribute.name), item.text)) {
                    mGenerated += mTree->text().view(attribute.value);
                }
            }
        }
    }
    if (box.outOfFlow || style.inherited.blockifiesChildren || isBlockLevel(box.display) ||
        isTablePart(box.display) || box.display == Display::Flex || box.display == Display::Table) {
        mBuilder.blockBoundary();
        return;
    }
    if (isAtomic(box)) {
        mBuilder.beginAtomic();
        mBuilder.endAtomic();
        return;
    }
    box.inherited.visible = false;
    mBuilder.text(mGenerated, box.inherited);
}

void RenderedText::open(const Frame& frame) {
    const ElementStyle& style = frame.style;
    if (style.outOfFlow) {
        mBuilder.beginOutOfFlow();
    } else if (isBlockLevel(style.display) || isTablePart(style.display)) {
        mBuilder.blockBoundary();
    } else if (isAtomic(style)) {
        mBuilder.beginAtomic();
    }
    mBuilder.requiredLineBreaks(requiredBreaks(style));
}

void RenderedText::close(const Frame& frame) {
    const ElementStyle& style = frame.style;
    if (style.outOfFlow || isBlockLevel(style.display) || isTablePart(style.display)) {
        mBuilder.blockBoundary();
    }
    mBuilder.requiredLineBreaks(requiredBreaks(style));
    if (style.outOfFlow) {
        mBuilder.endOutOfFlow();
    } else if (isAtomic(style)) {
        mBuilder.endAtomic();
    } else if (style.inherited.visible && style.display == Display::Cell) {
        // A cell outside a row sits in an anonymous row of its own, which a following row
        // starts a new line after.
        const Display next = displayOfBoxAfter(frame.node, mFrames.back().style.inherited);
        if (next == Display::Row) {
            mBuilder.string("\n");
        } else if (next != Display::None) {
            mBuilder.string("\t");
        }
    } else if (style.inherited.visible && style.display == Display::Row && !isLastRow(frame.node)) {
        mBuilder.string("\n");
    }
}

// Rows of a table the walk is inside are compared with the table's last row; a row outside
// any (the element rendered is a row or a row group) ends its table when nothing follows it.
bool RenderedText::isLastRow(NodeId row) const {
    for (auto it = mFrames.rbegin(); it != mFrames.rend(); ++it) {
        if (isTable(it->style.display)) {
            return it->lastRow == row;
        }
    }
    return !hasBoxAfter(row, mFrames.back().style.inherited);
}

bool RenderedText::hasBoxAfter(NodeId node, const InheritedStyle& parent) const {
    return displayOfBoxAfter(node, parent) != Display::None;
}

// The display of the next sibling element that makes a box; None when there is none.
Display RenderedText::displayOfBoxAfter(NodeId node, const InheritedStyle& parent) const {
    const NodeTree& tree = *mTree;
    for (NodeId sibling = tree[node].nextSibling; sibling != parser::kNoNode;
         sibling = tree[sibling].nextSibling) {
        if (isElement(tree[sibling])) {
            if (const Display display = resolveStyle(tree, sibling, parent, mCascade).display;
                display != Display::None) {
                return display;
            }
        }
    }
    return Display::None;
}

// The last element child with the display of a row, or the last cell when cells come after it
// (they make an anonymous row, which then ends the group).
NodeId RenderedText::lastRowIn(NodeId group, const InheritedStyle& inherited) const {
    const NodeTree& tree = *mTree;
    for (NodeId child = tree[group].lastChild; child != parser::kNoNode;
         child = tree[child].previousSibling) {
        if (!isElement(tree[child])) {
            continue;
        }
        const Display display = resolveStyle(tree, child, inherited, mCascade).display;
        if (display == Display::Row || display == Display::Cell) {
            return child;
        }
    }
    return parser::kNoNode;
}

// The row the table ends with, in document order (also when a footer group comes first): the
// one row of the table without a line feed after it.
NodeId RenderedText::lastRowOf(NodeId table, const InheritedStyle& inherited) const {
    const NodeTree& tree = *mTree;
    for (NodeId child = tree[table].lastChild; child != parser::kNoNode;
         child = tree[child].previousSibling) {
        if (!isElement(tree[child])) {
            continue;
        }
        const ElementStyle style = resolveStyle(tree, child, inherited, mCascade);
        if (style.display == Display::Row || style.display == Display::Cell) {
            return child;
        }
        if (isRowGroup(style.display)) {
            if (const NodeId row = lastRowIn(child, style.inherited); row != parser::kNoNode) {
                return row;
            }
        }
    }
    return parser::kNoNode;
}

// A select shows each option's text on a line of its own, also those of its option groups.
void RenderedText::listOptions(NodeId select) {
    const NodeTree& tree = *mTree;
    for (NodeId child = tree[select].firstChild; child != parser::kNoNode;
         child = tree[child].nextSibling) {
        if (isHtml(tree[child], KnownName::Option)) {
            option(child);
        } else if (isHtml(tree[child], KnownName::Optgroup)) {
            mBuilder.requiredLineBreaks(1);
            for (NodeId item = tree[child].firstChild; item != parser::kNoNode;
                 item = tree[item].nextSibling) {
                if (isNamed(tree[item], KnownName::Option)) {
                    option(item);
                }
            }
            mBuilder.requiredLineBreaks(1);
        }
    }
}

// An option shows its text as option.text gives it: script text left out, ASCII white space
// collapsed and trimmed.
void RenderedText::option(NodeId option) {
    const NodeTree& tree = *mTree;
    mText.clear();
    bool pendingSpace = false;
    walkBelow(
        tree, option,
        [&](NodeId id) {
            if (isText(tree[id])) {
                tree.forEachTextPiece(id, [&](std::string_view piece) {
                    for (const char c : piece) {
                        if (isAsciiWhiteSpace(c)) {
                            pendingSpace = !mText.empty();
                            continue;
                        }
                        if (pendingSpace) {
                            mText += ' ';
                            pendingSpace = false;
                        }
                        mText += c;
                    }
                });
            }
            return !isNamed(tree[id], KnownName::Script);
        },
        [](NodeId) {});
    mBuilder.requiredLineBreaks(1);
    mBuilder.string(mText);
    mBuilder.requiredLineBreaks(1);
}

}  // namespace veltrano::html
