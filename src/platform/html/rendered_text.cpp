#include "platform/html/rendered_text.h"

#include <gumbo.h>

#include "platform/html/gumbo_tree.h"

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

// The last element child with the display of a row.
const GumboNode* lastRowIn(const GumboNode& group, const InheritedStyle& inherited) {
    const GumboVector& children = childrenOf(group);
    for (unsigned i = children.length; i-- > 0;) {
        const GumboNode& child = childAt(children, i);
        if (isElement(child) && resolveStyle(child, inherited).display == Display::Row) {
            return &child;
        }
    }
    return nullptr;
}

// The row the table ends with, in document order (also when a footer group comes first): the
// one row of the table without a line feed after it.
const GumboNode* lastRowOf(const GumboNode& table, const InheritedStyle& inherited) {
    const GumboVector& children = childrenOf(table);
    for (unsigned i = children.length; i-- > 0;) {
        const GumboNode& child = childAt(children, i);
        if (!isElement(child)) {
            continue;
        }
        const ElementStyle style = resolveStyle(child, inherited);
        if (style.display == Display::Row) {
            return &child;
        }
        if (style.display == Display::HeaderGroup || style.display == Display::RowGroup ||
            style.display == Display::FooterGroup) {
            if (const GumboNode* row = lastRowIn(child, style.inherited)) {
                return row;
            }
        }
    }
    return nullptr;
}

}  // namespace

RenderedText::RenderedText() = default;
RenderedText::~RenderedText() = default;

std::string_view RenderedText::text(const Element& element) {
    return render(*element.node(), inheritedStyleAbove(*element.node(), mAncestors));
}

std::string_view RenderedText::text(const PlacedElement& element) {
    return render(*element.element.node(), element.inherited);
}

std::string_view RenderedText::render(const GumboNode& element, const InheritedStyle& inherited) {
    mBuilder.reset();
    // innerText exists on HTML elements only; for others (svg, math) a caller gets
    // textContent, as does one asking about an element that is not being rendered.
    if (element.v.element.tag_namespace != GUMBO_NAMESPACE_HTML) {
        return textContent(element);
    }
    if (isLockedChild(element, inherited)) {
        return mBuilder.result();
    }
    const ElementStyle style = resolveStyle(element, inherited);
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
    mFrames.push_back(
        {&element, style, isTable(style.display) ? lastRowOf(element, style.inherited) : nullptr});
    walkBelow(
        element, mWalk, [this](const GumboNode& node) { return enter(node); },
        [this](const GumboNode&) { leave(); });
    return mBuilder.result();
}

std::string_view RenderedText::textContent(const GumboNode& element) {
    mText.clear();
    appendTextContent(element, mText, mInnerWalk);
    return mText;
}

bool RenderedText::enter(const GumboNode& node) {
    const ElementStyle& parent = mFrames.back().style;
    if (isLockedChild(node, parent.inherited)) {
        return false;
    }
    if (isText(node)) {
        if (parent.inherited.rendersText &&
            !(node.type == GUMBO_NODE_WHITESPACE && dropsWhiteSpaceText(parent.display))) {
            mBuilder.text(node.v.text.text, parent.inherited);
        }
        return false;
    }
    if (!isElement(node) || parent.display == Display::Column) {
        return false;
    }
    const ElementStyle style = resolveStyle(node, parent.inherited);
    if (style.display == Display::None) {
        return false;
    }
    const bool visible = style.inherited.visible;
    const Frame frame{&node, style,
                      isTable(style.display) ? lastRowOf(node, style.inherited) : nullptr};
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
                listOptions(node);
            }
            close(frame);
            return false;
        case ElementRole::Option:
            open(frame);
            if (visible) {
                option(node);
            }
            close(frame);
            return false;
        default:
            open(frame);
            mFrames.push_back(frame);
            return true;
    }
}

void RenderedText::leave() {
    const Frame frame = mFrames.back();
    mFrames.pop_back();
    close(frame);
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
    } else if (style.inherited.visible && style.display == Display::Cell &&
               hasBoxAfter(*frame.node, mFrames.back().style.inherited)) {
        mBuilder.string("\t");
    } else if (style.inherited.visible && style.display == Display::Row &&
               !isLastRow(*frame.node)) {
        mBuilder.string("\n");
    }
}

// Rows of a table the walk is inside are compared with the table's last row; a row outside
// any (the element rendered is a row or a row group) ends its table when nothing follows it.
bool RenderedText::isLastRow(const GumboNode& row) const {
    for (auto it = mFrames.rbegin(); it != mFrames.rend(); ++it) {
        if (isTable(it->style.display)) {
            return it->lastRow == &row;
        }
    }
    return !hasBoxAfter(row, mFrames.back().style.inherited);
}

bool RenderedText::hasBoxAfter(const GumboNode& node, const InheritedStyle& parent) const {
    const GumboVector& siblings = childrenOf(*node.parent);
    for (auto i = static_cast<unsigned>(node.index_within_parent) + 1; i < siblings.length; ++i) {
        const GumboNode& sibling = childAt(siblings, i);
        if (isElement(sibling) && resolveStyle(sibling, parent).display != Display::None) {
            return true;
        }
    }
    return false;
}

// A select shows each option's text on a line of its own, also those of its option groups.
void RenderedText::listOptions(const GumboNode& select) {
    const GumboVector& children = childrenOf(select);
    for (unsigned i = 0; i < children.length; ++i) {
        const GumboNode& child = childAt(children, i);
        if (!isElement(child) || child.v.element.tag_namespace != GUMBO_NAMESPACE_HTML) {
            continue;
        }
        if (child.v.element.tag == GUMBO_TAG_OPTION) {
            option(child);
        } else if (child.v.element.tag == GUMBO_TAG_OPTGROUP) {
            mBuilder.requiredLineBreaks(1);
            const GumboVector& options = childrenOf(child);
            for (unsigned j = 0; j < options.length; ++j) {
                const GumboNode& item = childAt(options, j);
                if (isElement(item) && item.v.element.tag == GUMBO_TAG_OPTION) {
                    option(item);
                }
            }
            mBuilder.requiredLineBreaks(1);
        }
    }
}

// An option shows its text as option.text gives it: script text left out, ASCII white space
// collapsed and trimmed.
void RenderedText::option(const GumboNode& option) {
    mText.clear();
    bool pendingSpace = false;
    walkBelow(
        option, mInnerWalk,
        [&](const GumboNode& node) {
            if (isText(node)) {
                for (const char* c = node.v.text.text; *c != '\0'; ++c) {
                    if (isAsciiWhiteSpace(*c)) {
                        pendingSpace = !mText.empty();
                        continue;
                    }
                    if (pendingSpace) {
                        mText += ' ';
                        pendingSpace = false;
                    }
                    mText += *c;
                }
            }
            return !(isElement(node) && node.v.element.tag == GUMBO_TAG_SCRIPT);
        },
        [](const GumboNode&) {});
    mBuilder.requiredLineBreaks(1);
    mBuilder.string(mText);
    mBuilder.requiredLineBreaks(1);
}

}  // namespace veltrano::html
