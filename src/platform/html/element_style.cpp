#include "platform/html/element_style.h"

#include <optional>
#include <string_view>
#include <vector>

#include "platform/html/ascii_case.h"
#include "platform/html/css/cascade.h"
#include "platform/html/css/cascaded_style.h"
#include "platform/html/css/element_language.h"
#include "platform/html/style_attribute.h"
#include "platform/html/text_transform.h"
#include "platform/html/tree_walk.h"

namespace veltrano::html {
namespace {

using parser::nameId;

// The element's attributes looked up by name, in no namespace.
class Attributes final {
public:
    Attributes(const NodeTree& tree, NodeId element) : mTree(tree), mElement(element) {}
    std::optional<std::string_view> operator[](KnownName name) const {
        return mTree.attribute(mElement, nameId(name));
    }
    bool has(KnownName name) const { return (*this)[name].has_value(); }
    bool is(KnownName name, std::string_view value) const {
        const std::optional<std::string_view> actual = (*this)[name];
        return actual && equalsIgnoringAsciiCase(*actual, value);
    }

private:
    const NodeTree& mTree;
    NodeId mElement;
};

// The user agent style sheet's display and white-space for HTML elements, and what rendered
// text does with the elements that show something other than their children's text.
void applyHtmlDefaults(const Node& element, const Attributes& attributes, ElementStyle& style) {
    switch (static_cast<KnownName>(element.name)) {
        case KnownName::Head:
        case KnownName::Title:
        case KnownName::Base:
        case KnownName::Basefont:
        case KnownName::Link:
        case KnownName::Meta:
        case KnownName::Style:
        case KnownName::Script:
        case KnownName::Template:
        case KnownName::Param:
        case KnownName::Source:
        case KnownName::Track:
        case KnownName::Area:
        case KnownName::Datalist:
        case KnownName::Noembed:
        case KnownName::Noframes:
        case KnownName::Rp:
            style.display = Display::None;
            break;
        case KnownName::Html:
        case KnownName::Body:
        case KnownName::Article:
        case KnownName::Section:
        case KnownName::Nav:
        case KnownName::Aside:
        case KnownName::H1:
        case KnownName::H2:
        case KnownName::H3:
        case KnownName::H4:
        case KnownName::H5:
        case KnownName::H6:
        case KnownName::Hgroup:
        case KnownName::Header:
        case KnownName::Footer:
        case KnownName::Address:
        case KnownName::Hr:
        case KnownName::Blockquote:
        case KnownName::Ol:
        case KnownName::Ul:
        case KnownName::Li:
        case KnownName::Dl:
        case KnownName::Dt:
        case KnownName::Dd:
        case KnownName::Figure:
        case KnownName::Figcaption:
        case KnownName::Main:
        case KnownName::Div:
        case KnownName::Form:
        case KnownName::Fieldset:
        case KnownName::Legend:
        case KnownName::Summary:
        case KnownName::Optgroup:
        case KnownName::Menu:
        case KnownName::Dir:
        case KnownName::Center:
        case KnownName::Frameset:
            style.display = Display::Block;
            break;
        case KnownName::Details:
            style.display = Display::Block;
            style.inherited.summaryOnly = !attributes.has(KnownName::Open);
            break;
        case KnownName::Pre:
        case KnownName::Listing:
        case KnownName::Xmp:
        case KnownName::Plaintext:
            style.display = Display::Block;
            style.inherited.whiteSpace = WhiteSpace::Preserve;
            break;
        case KnownName::P:
            style.display = Display::Block;
            style.role = ElementRole::Paragraph;
            break;
        case KnownName::Table:
            style.display = Display::Table;
            break;
        case KnownName::Caption:
            style.display = Display::Caption;
            break;
        case KnownName::Colgroup:
        case KnownName::Col:
            style.display = Display::Column;
            break;
        case KnownName::Thead:
            style.display = Display::HeaderGroup;
            break;
        case KnownName::Tbody:
            style.display = Display::RowGroup;
            break;
        case KnownName::Tfoot:
            style.display = Display::FooterGroup;
            break;
        case KnownName::Tr:
            style.display = Display::Row;
            break;
        case KnownName::Td:
        case KnownName::Th:
            style.display = Display::Cell;
            break;
        case KnownName::Button:
        case KnownName::Marquee:
            style.display = Display::InlineBlock;
            break;
        case KnownName::Br:
            style.role = ElementRole::LineBreak;
            break;
        case KnownName::Select:
            style.display = Display::InlineBlock;
            style.role = ElementRole::Select;
            style.inherited.rendersText = false;
            break;
        case KnownName::Option:
            style.display = Display::Block;
            style.role = ElementRole::Option;
            break;
        case KnownName::Input:
            if (attributes.is(KnownName::Type, "hidden")) {
                style.display = Display::None;
            }
            style.role = ElementRole::Replaced;
            break;
        case KnownName::Audio:
            if (!attributes.has(KnownName::Controls)) {
                style.display = Display::None;
            }
            style.role = ElementRole::Replaced;
            break;
        case KnownName::Textarea:
            style.inherited.whiteSpace = WhiteSpace::Preserve;
            style.role = ElementRole::Replaced;
            break;
        case KnownName::Img:
        case KnownName::Image:
        case KnownName::Iframe:
        case KnownName::Embed:
        case KnownName::Video:
        case KnownName::Meter:
        case KnownName::Progress:
        case KnownName::Keygen:
        case KnownName::Frame:
            style.role = ElementRole::Replaced;
            break;
        case KnownName::Nobr:
            style.inherited.whiteSpace = WhiteSpace::Collapse;
            break;
        case KnownName::Dialog:
            style.display = attributes.has(KnownName::Open) ? Display::Block : Display::None;
            break;
        case KnownName::Search:
            style.display = Display::Block;
            break;
        case KnownName::Slot:
            style.display = Display::Contents;
            break;
        default:
            break;
    }
    if (style.role == ElementRole::Replaced) {
        style.inherited.rendersText = false;
    }
}

// An svg element draws text only inside <text>; everything else in it is graphics.
void applySvgDefaults(const NodeTree& tree, const Node& element, ElementStyle& style) {
    switch (static_cast<KnownName>(element.name)) {
        case KnownName::Svg: {
            const Node& parent = tree[element.parent];
            const bool outermost = !isElement(parent) || parent.ns != Namespace::Svg;
            style.display = outermost ? Display::InlineBlock : Display::Inline;
            style.inherited.rendersText = false;
            break;
        }
        case KnownName::ForeignObject_:
        case KnownName::Text:
            style.display = Display::Block;
            style.inherited.rendersText = true;
            break;
        case KnownName::Title:
        case KnownName::Desc:
        case KnownName::Style:
        case KnownName::Script:
        case KnownName::Defs:
        case KnownName::Symbol:
        case KnownName::Metadata:
        case KnownName::ClipPath_:
        case KnownName::Mask:
        case KnownName::Pattern:
        case KnownName::Marker:
            style.display = Display::None;
            break;
        default:
            break;
    }
}

// MathML lays out each child of a formula as a box of its own; a lone letter in <mi> is
// shown in mathematical italic.
void applyMathDefaults(const Node& element, const Attributes& attributes, ElementStyle& style) {
    if (element.name == nameId(KnownName::Math)) {
        style.display =
            attributes.is(KnownName::Display, "block") ? Display::Block : Display::InlineBlock;
        return;
    }
    style.display = Display::Block;
    if (element.name == nameId(KnownName::Mi)) {
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

bool isLockedChild(const NodeTree& tree, NodeId child, const InheritedStyle& parent) {
    if (parent.locked) {
        return true;
    }
    if (!parent.summaryOnly) {
        return false;
    }
    if (!isHtml(tree[child], KnownName::Summary)) {
        return true;
    }
    for (NodeId sibling = tree[child].previousSibling; sibling != parser::kNoNode;
         sibling = tree[sibling].previousSibling) {
        if (isHtml(tree[sibling], KnownName::Summary)) {
            return true;
        }
    }
    return false;
}

ElementStyle resolveStyle(const NodeTree& tree, NodeId id, const InheritedStyle& parent,
                          css::Cascade* cascade) {
    const Node& element = tree[id];
    const Attributes attributes(tree, id);
    ElementStyle style;
    style.inherited = parent;
    style.inherited.blockifiesChildren = false;
    style.inherited.summaryOnly = false;
    style.inherited.locked = isLockedChild(tree, id, parent);
    switch (element.ns) {
        case Namespace::Html:
            applyHtmlDefaults(element, attributes, style);
            if (attributes.is(KnownName::Hidden, "until-found")) {
                style.inherited.locked = true;
            } else if (attributes.has(KnownName::Hidden)) {
                style.display = Display::None;
            }
            break;
        case Namespace::Svg:
            applySvgDefaults(tree, element, style);
            break;
        case Namespace::MathMl:
            applyMathDefaults(element, attributes, style);
            break;
    }
    if (const std::optional<std::string_view> language = css::declaredLanguage(tree, id)) {
        style.inherited.caseLocale = caseLocaleFor(*language);
    }
    if (cascade != nullptr) {
        style.outOfFlow = css::applyCascadedValues(cascade->element(id), parent, style);
    } else if (const std::optional<std::string_view> declarations = attributes[KnownName::Style]) {
        style.outOfFlow = applyStyleAttribute(*declarations, parent, style);
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

InheritedStyle inheritedStyleAbove(const NodeTree& tree, NodeId element, NodeId stop,
                                   const InheritedStyle& fromStop, css::Cascade* cascade) {
    // Ancestors are few (the tree builder limits the depth), so they are gathered on the
    // call stack's side: a small vector reused by the thread.
    thread_local std::vector<NodeId> ancestors;
    ancestors.clear();
    for (NodeId node = tree[element].parent; node != stop && isElement(tree[node]);
         node = tree[node].parent) {
        ancestors.push_back(node);
    }
    InheritedStyle style = stop == parser::kNoNode ? InheritedStyle{} : fromStop;
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
        style = resolveStyle(tree, *it, style, cascade).inherited;
    }
    return style;
}

}  // namespace veltrano::html
