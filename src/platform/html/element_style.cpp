#include "platform/html/element_style.h"

#include <string_view>
#include <vector>

#include <gumbo.h>

#include "platform/html/ascii_case.h"
#include "platform/html/gumbo_tree.h"
#include "platform/html/style_attribute.h"

namespace veltrano::html {
namespace {

bool nameIs(const GumboElement& element, std::string_view name) {
    return equalsIgnoringAsciiCase(elementName(element), name);
}

bool attributeIs(const GumboElement& element, const char* name, std::string_view value) {
    const char* actual = attributeValue(element, name);
    return actual != nullptr && equalsIgnoringAsciiCase(actual, value);
}

bool hasAttribute(const GumboElement& element, const char* name) {
    return attributeValue(element, name) != nullptr;
}

// The user agent style sheet's display and white-space for HTML elements, and what rendered
// text does with the elements that show something other than their children's text.
void applyHtmlDefaults(const GumboElement& element, ElementStyle& style) {
    switch (element.tag) {
        case GUMBO_TAG_HEAD:
        case GUMBO_TAG_TITLE:
        case GUMBO_TAG_BASE:
        case GUMBO_TAG_BASEFONT:
        case GUMBO_TAG_LINK:
        case GUMBO_TAG_META:
        case GUMBO_TAG_STYLE:
        case GUMBO_TAG_SCRIPT:
        case GUMBO_TAG_TEMPLATE:
        case GUMBO_TAG_PARAM:
        case GUMBO_TAG_SOURCE:
        case GUMBO_TAG_TRACK:
        case GUMBO_TAG_AREA:
        case GUMBO_TAG_DATALIST:
        case GUMBO_TAG_NOEMBED:
        case GUMBO_TAG_NOFRAMES:
        case GUMBO_TAG_RP:
            style.display = Display::None;
            break;
        case GUMBO_TAG_HTML:
        case GUMBO_TAG_BODY:
        case GUMBO_TAG_ARTICLE:
        case GUMBO_TAG_SECTION:
        case GUMBO_TAG_NAV:
        case GUMBO_TAG_ASIDE:
        case GUMBO_TAG_H1:
        case GUMBO_TAG_H2:
        case GUMBO_TAG_H3:
        case GUMBO_TAG_H4:
        case GUMBO_TAG_H5:
        case GUMBO_TAG_H6:
        case GUMBO_TAG_HGROUP:
        case GUMBO_TAG_HEADER:
        case GUMBO_TAG_FOOTER:
        case GUMBO_TAG_ADDRESS:
        case GUMBO_TAG_HR:
        case GUMBO_TAG_BLOCKQUOTE:
        case GUMBO_TAG_OL:
        case GUMBO_TAG_UL:
        case GUMBO_TAG_LI:
        case GUMBO_TAG_DL:
        case GUMBO_TAG_DT:
        case GUMBO_TAG_DD:
        case GUMBO_TAG_FIGURE:
        case GUMBO_TAG_FIGCAPTION:
        case GUMBO_TAG_MAIN:
        case GUMBO_TAG_DIV:
        case GUMBO_TAG_FORM:
        case GUMBO_TAG_FIELDSET:
        case GUMBO_TAG_LEGEND:
        case GUMBO_TAG_SUMMARY:
        case GUMBO_TAG_OPTGROUP:
        case GUMBO_TAG_MENU:
        case GUMBO_TAG_DIR:
        case GUMBO_TAG_CENTER:
        case GUMBO_TAG_FRAMESET:
            style.display = Display::Block;
            break;
        case GUMBO_TAG_DETAILS:
            style.display = Display::Block;
            style.inherited.summaryOnly = !hasAttribute(element, "open");
            break;
        case GUMBO_TAG_PRE:
        case GUMBO_TAG_LISTING:
        case GUMBO_TAG_XMP:
        case GUMBO_TAG_PLAINTEXT:
            style.display = Display::Block;
            style.inherited.whiteSpace = WhiteSpace::Preserve;
            break;
        case GUMBO_TAG_P:
            style.display = Display::Block;
            style.role = ElementRole::Paragraph;
            break;
        case GUMBO_TAG_TABLE:
            style.display = Display::Table;
            break;
        case GUMBO_TAG_CAPTION:
            style.display = Display::Caption;
            break;
        case GUMBO_TAG_COLGROUP:
        case GUMBO_TAG_COL:
            style.display = Display::Column;
            break;
        case GUMBO_TAG_THEAD:
            style.display = Display::HeaderGroup;
            break;
        case GUMBO_TAG_TBODY:
            style.display = Display::RowGroup;
            break;
        case GUMBO_TAG_TFOOT:
            style.display = Display::FooterGroup;
            break;
        case GUMBO_TAG_TR:
            style.display = Display::Row;
            break;
        case GUMBO_TAG_TD:
        case GUMBO_TAG_TH:
            style.display = Display::Cell;
            break;
        case GUMBO_TAG_BUTTON:
        case GUMBO_TAG_MARQUEE:
            style.display = Display::InlineBlock;
            break;
        case GUMBO_TAG_BR:
            style.role = ElementRole::LineBreak;
            break;
        case GUMBO_TAG_SELECT:
            style.display = Display::InlineBlock;
            style.role = ElementRole::Select;
            style.inherited.rendersText = false;
            break;
        case GUMBO_TAG_OPTION:
            style.display = Display::Block;
            style.role = ElementRole::Option;
            break;
        case GUMBO_TAG_INPUT:
            if (attributeIs(element, "type", "hidden")) {
                style.display = Display::None;
            }
            style.role = ElementRole::Replaced;
            break;
        case GUMBO_TAG_AUDIO:
            if (!hasAttribute(element, "controls")) {
                style.display = Display::None;
            }
            style.role = ElementRole::Replaced;
            break;
        case GUMBO_TAG_TEXTAREA:
            style.inherited.whiteSpace = WhiteSpace::Preserve;
            style.role = ElementRole::Replaced;
            break;
        case GUMBO_TAG_IMG:
        case GUMBO_TAG_IMAGE:
        case GUMBO_TAG_IFRAME:
        case GUMBO_TAG_EMBED:
        case GUMBO_TAG_VIDEO:
        case GUMBO_TAG_METER:
        case GUMBO_TAG_PROGRESS:
        case GUMBO_TAG_KEYGEN:
        case GUMBO_TAG_FRAME:
            style.role = ElementRole::Replaced;
            break;
        case GUMBO_TAG_NOBR:
            style.inherited.whiteSpace = WhiteSpace::Collapse;
            break;
        case GUMBO_TAG_UNKNOWN:
            // Newer elements gumbo 0.10 does not know by tag.
            if (nameIs(element, "dialog")) {
                style.display = hasAttribute(element, "open") ? Display::Block : Display::None;
            } else if (nameIs(element, "search")) {
                style.display = Display::Block;
            } else if (nameIs(element, "slot")) {
                style.display = Display::Contents;
            }
            break;
        default:
            break;
    }
    if (style.role == ElementRole::Replaced) {
        style.inherited.rendersText = false;
    }
}

// An svg element draws text only inside <text>; everything else in it is graphics.
void applySvgDefaults(const GumboNode& node, ElementStyle& style) {
    const GumboElement& element = node.v.element;
    if (element.tag == GUMBO_TAG_SVG) {
        const bool outermost = node.parent == nullptr || node.parent->type != GUMBO_NODE_ELEMENT ||
                               node.parent->v.element.tag_namespace != GUMBO_NAMESPACE_SVG;
        style.display = outermost ? Display::InlineBlock : Display::Inline;
        style.inherited.rendersText = false;
    } else if (element.tag == GUMBO_TAG_FOREIGNOBJECT || nameIs(element, "text")) {
        style.display = Display::Block;
        style.inherited.rendersText = true;
    } else if (element.tag == GUMBO_TAG_TITLE || element.tag == GUMBO_TAG_DESC ||
               element.tag == GUMBO_TAG_STYLE || element.tag == GUMBO_TAG_SCRIPT ||
               nameIs(element, "defs") || nameIs(element, "symbol") ||
               nameIs(element, "metadata") || nameIs(element, "clipPath") ||
               nameIs(element, "mask") || nameIs(element, "pattern") || nameIs(element, "marker")) {
        style.display = Display::None;
    }
}

// MathML lays out each child of a formula as a box of its own; a lone letter in <mi> is
// shown in mathematical italic.
void applyMathDefaults(const GumboElement& element, ElementStyle& style) {
    if (element.tag == GUMBO_TAG_MATH) {
        style.display =
            attributeIs(element, "display", "block") ? Display::Block : Display::InlineBlock;
        return;
    }
    style.display = Display::Block;
    if (element.tag == GUMBO_TAG_MI) {
        style.inherited.textTransform = TextTransform::MathAuto;
    }
}

Display blockified(Display display) {
    switch (display) {
        case Display::None:
        case Display::Contents:
        case Display::Block:
        case Display::Flex:
        case Display::Table:
            return display;
        case Display::InlineFlex:
            return Display::Flex;
        case Display::InlineTable:
            return Display::Table;
        default:
            return Display::Block;
    }
}

}  // namespace

bool isBlockLevel(Display display) {
    return display == Display::Block || display == Display::Flex || display == Display::Table ||
           display == Display::Caption;
}

bool isLockedChild(const GumboInternalNode& child, const InheritedStyle& parent) {
    if (parent.locked) {
        return true;
    }
    if (!parent.summaryOnly) {
        return false;
    }
    if (!isElement(child) || child.v.element.tag != GUMBO_TAG_SUMMARY ||
        child.v.element.tag_namespace != GUMBO_NAMESPACE_HTML) {
        return true;
    }
    const GumboVector& siblings = childrenOf(*child.parent);
    for (unsigned i = 0; i < child.index_within_parent; ++i) {
        const GumboNode& sibling = childAt(siblings, i);
        if (isElement(sibling) && sibling.v.element.tag == GUMBO_TAG_SUMMARY &&
            sibling.v.element.tag_namespace == GUMBO_NAMESPACE_HTML) {
            return true;
        }
    }
    return false;
}

ElementStyle resolveStyle(const GumboInternalNode& node, const InheritedStyle& parent) {
    const GumboElement& element = node.v.element;
    ElementStyle style;
    style.inherited = parent;
    style.inherited.blockifiesChildren = false;
    style.inherited.summaryOnly = false;
    style.inherited.locked = isLockedChild(node, parent);
    switch (element.tag_namespace) {
        case GUMBO_NAMESPACE_HTML:
            applyHtmlDefaults(element, style);
            if (attributeIs(element, "hidden", "until-found")) {
                style.inherited.locked = true;
            } else if (hasAttribute(element, "hidden")) {
                style.display = Display::None;
            }
            break;
        case GUMBO_NAMESPACE_SVG:
            applySvgDefaults(node, style);
            break;
        case GUMBO_NAMESPACE_MATHML:
            applyMathDefaults(element, style);
            break;
    }
    if (const char* declarations = attributeValue(element, "style")) {
        style.outOfFlow = applyStyleAttribute(declarations, parent, style);
    }
    if (style.outOfFlow || parent.blockifiesChildren) {
        style.display = blockified(style.display);
    }
    style.inherited.blockifiesChildren =
        style.display == Display::Flex || style.display == Display::InlineFlex;
    if (style.display == Display::None) {
        style.inherited.displayed = false;
    }
    return style;
}

InheritedStyle inheritedStyleAbove(const GumboInternalNode& element,
                                   std::vector<const GumboInternalNode*>& ancestors) {
    ancestors.clear();
    for (const GumboNode* node = element.parent; node != nullptr && isElement(*node);
         node = node->parent) {
        ancestors.push_back(node);
    }
    InheritedStyle style;
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
        style = resolveStyle(**it, style).inherited;
    }
    return style;
}

}  // namespace veltrano::html
