#include "platform/html/parser/element_kinds.h"

#include <array>
#include <initializer_list>

namespace veltrano::html::parser {
namespace {

using K = KnownName;
using Table = std::array<std::uint32_t, kKnownNameCount>;

constexpr void mark(Table& table, std::initializer_list<KnownName> names, std::uint32_t kinds) {
    for (const KnownName name : names) {
        table[static_cast<std::size_t>(name)] |= kinds;
    }
}

constexpr void unmark(Table& table, std::initializer_list<KnownName> names, std::uint32_t kinds) {
    for (const KnownName name : names) {
        table[static_cast<std::size_t>(name)] &= ~kinds;
    }
}

// The lists of the HTML Standard's "special" category and of the scopes, element by element.
constexpr Table htmlKinds() {
    Table t{};
    mark(t, {K::Address,    K::Applet,   K::Area,       K::Article,  K::Aside,   K::Base,
             K::Basefont,   K::Bgsound,  K::Blockquote, K::Body,     K::Br,      K::Button,
             K::Caption,    K::Center,   K::Col,        K::Colgroup, K::Dd,      K::Details,
             K::Dir,        K::Div,      K::Dl,         K::Dt,       K::Embed,   K::Fieldset,
             K::Figcaption, K::Figure,   K::Footer,     K::Form,     K::Frame,   K::Frameset,
             K::H1,         K::H2,       K::H3,         K::H4,       K::H5,      K::H6,
             K::Head,       K::Header,   K::Hgroup,     K::Hr,       K::Html,    K::Iframe,
             K::Img,        K::Input,    K::Keygen,     K::Li,       K::Link,    K::Listing,
             K::Main,       K::Marquee,  K::Menu,       K::Meta,     K::Nav,     K::Noembed,
             K::Noframes,   K::Noscript, K::Object,     K::Ol,       K::P,       K::Param,
             K::Plaintext,  K::Pre,      K::Script,     K::Search,   K::Section, K::Select,
             K::Source,     K::Style,    K::Summary,    K::Table,    K::Tbody,   K::Td,
             K::Template,   K::Textarea, K::Tfoot,      K::Th,       K::Thead,   K::Title,
             K::Tr,         K::Track,    K::Ul,         K::Wbr,      K::Xmp},
         kSpecial | kSpecialOtherThanAddressDivP);
    unmark(t, {K::Address, K::Div, K::P}, kSpecialOtherThanAddressDivP);
    mark(t,
         {K::A, K::B, K::Big, K::Code, K::Em, K::Font, K::I, K::Nobr, K::S, K::Small, K::Strike,
          K::Strong, K::Tt, K::U},
         kFormatting);
    mark(t, {K::Dd, K::Dt, K::Li, K::Optgroup, K::Option, K::P, K::Rb, K::Rp, K::Rt, K::Rtc},
         kImpliedEndTag | kImpliedEndTagThoroughly);
    mark(t, {K::Caption, K::Colgroup, K::Tbody, K::Td, K::Tfoot, K::Th, K::Thead, K::Tr},
         kImpliedEndTagThoroughly);
    const std::uint32_t everyScope = kScopeBoundary | kListItemScopeBoundary | kButtonScopeBoundary;
    // select ends the default scope since the relaxed select parsing.
    mark(t,
         {K::Applet, K::Caption, K::Html, K::Table, K::Td, K::Th, K::Marquee, K::Object, K::Select,
          K::Template},
         everyScope);
    mark(t, {K::Ol, K::Ul}, kListItemScopeBoundary);
    mark(t, {K::Button}, kButtonScopeBoundary);
    mark(t, {K::Html, K::Table, K::Template}, kTableScopeBoundary);
    mark(t,
         {K::Td, K::Th, K::Tr, K::Tbody, K::Thead, K::Tfoot, K::Caption, K::Colgroup, K::Table,
          K::Template, K::Head, K::Body, K::Frameset, K::Html},
         kInsertionModeAnchor);
    mark(t, {K::Table, K::Tbody, K::Tfoot, K::Thead, K::Tr}, kFosterParentingTarget);
    mark(t, {K::H1, K::H2, K::H3, K::H4, K::H5, K::H6}, kHeading);
    mark(t, {K::Td, K::Th}, kTableCell);
    mark(t, {K::Tbody, K::Thead, K::Tfoot}, kTableSection);
    mark(t, {K::Tbody, K::Tfoot, K::Thead, K::Template, K::Html}, kTableBodyContext);
    mark(t, {K::Tr, K::Template, K::Html}, kTableRowContext);
    mark(t, {K::Template}, kTemplate);
    for (std::uint32_t& kinds : t) {
        kinds |= kHtmlElement;
    }
    return t;
}

constexpr Table mathMlKinds() {
    Table t{};
    const std::uint32_t boundary = kSpecial | kSpecialOtherThanAddressDivP | kScopeBoundary |
                                   kListItemScopeBoundary | kButtonScopeBoundary;
    mark(t, {K::Mi, K::Mo, K::Mn, K::Ms, K::Mtext}, boundary | kMathMlTextIntegrationPoint);
    mark(t, {K::AnnotationXml}, boundary);
    return t;
}

constexpr Table svgKinds() {
    Table t{};
    mark(t, {K::ForeignObject_, K::Desc, K::Title},
         kSpecial | kSpecialOtherThanAddressDivP | kScopeBoundary | kListItemScopeBoundary |
             kButtonScopeBoundary | kSvgHtmlIntegrationPoint);
    return t;
}

}  // namespace

static_assert(static_cast<int>(Namespace::Html) == 0 && static_cast<int>(Namespace::Svg) == 1 &&
              static_cast<int>(Namespace::MathMl) == 2);
constexpr std::array<Table, 3> kElementKindTables = {htmlKinds(), svgKinds(), mathMlKinds()};

}  // namespace veltrano::html::parser
