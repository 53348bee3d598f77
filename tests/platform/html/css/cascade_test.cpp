#include "platform/html/css/cascade.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/html/css/rule_set.h"
#include "platform/html/element_style.h"
#include "test_tree.h"

namespace veltrano::html::css {
namespace {

constexpr const char* kTable =
    "<html><body><table id=t><tbody><tr id=r><td id=c class=\"cell Big\">"
    "<span id=s></span></td><td id=c2 style=\"display: block\"></td></tr></tbody></table>"
    "</body></html>";

// Files an @import may name.
const std::map<std::string, std::string> kFiles{
    {"hide.css", "td { display: none }"},
    {"nested.css", "@import 'hide.css'; td { visibility: hidden }"},
    {"loop.css", "@import 'loop.css'; td { display: table-cell }"},
};

std::optional<StyleSheetSource> resolve(std::string_view url, std::string_view) {
    const auto found = kFiles.find(std::string(url));
    if (found == kFiles.end()) {
        return std::nullopt;
    }
    return StyleSheetSource{found->second, std::string(url)};
}

// A declared value written back: the wide keyword, or the property's keyword.
std::string describe(const std::optional<DeclaredValue>& value) {
    if (!value) {
        return "-";
    }
    switch (value->wide) {
        case WideKeyword::Inherit:
            return "inherit";
        case WideKeyword::Initial:
            return "initial";
        case WideKeyword::Unset:
            return "unset";
        case WideKeyword::Revert:
            return "revert";
        case WideKeyword::RevertLayer:
            return "revert-layer";
        case WideKeyword::None:
            break;
    }
    static const std::map<std::uint8_t, std::string> kDisplays{
        {static_cast<std::uint8_t>(html::Display::None), "none"},
        {static_cast<std::uint8_t>(html::Display::Block), "block"},
        {static_cast<std::uint8_t>(html::Display::Inline), "inline"},
        {static_cast<std::uint8_t>(html::Display::Cell), "table-cell"},
    };
    switch (value->property) {
        case Property::Display:
            return kDisplays.count(value->keyword) ? kDisplays.at(value->keyword) : "other";
        case Property::Visibility:
            return value->keyword ? "visible" : "hidden";
        case Property::WhiteSpaceCollapse:
            return value->keyword == static_cast<std::uint8_t>(html::WhiteSpace::Collapse)
                       ? "collapse"
                   : value->keyword == static_cast<std::uint8_t>(html::WhiteSpace::Preserve)
                       ? "preserve"
                       : "breaks";
        case Property::TextTransform:
            return value->keyword == static_cast<std::uint8_t>(html::TextTransform::Uppercase)
                       ? "uppercase"
                       : "other";
        case Property::Float:
        case Property::Position:
            return value->keyword ? "out" : "in";
        case Property::Content:
            return value->keyword == static_cast<std::uint8_t>(ContentKeyword::Items) ? "items"
                                                                                      : "none";
    }
    return "?";
}

struct CascadeCase {
    const char* name;
    std::vector<const char*> sheets;
    const char* element;
    Property property;
    const char* expected;
};

class CascadeOrder : public ::testing::TestWithParam<CascadeCase> {};

TEST_P(CascadeOrder, PicksTheWinningDeclaration) {
    testing::TestTree tree(kTable);
    RuleSet rules;
    for (const char* sheet : GetParam().sheets) {
        rules.addStyleSheet({sheet, "page.html"}, resolve);
    }
    rules.finish();
    Cascade cascade(rules, tree.tree(), false);
    EXPECT_EQ(describe(cascade.element(tree.byId(GetParam().element))[GetParam().property]),
              GetParam().expected);
}

constexpr Property kDisplay = Property::Display;

INSTANTIATE_TEST_SUITE_P(
    Cascade, CascadeOrder,
    ::testing::Values(
        CascadeCase{"NothingDeclared", {"td { color: red }"}, "c", kDisplay, "-"},
        CascadeCase{"LaterRuleWins",
                    {"td { display: none }", "td { display: block }"},
                    "c",
                    kDisplay,
                    "block"},
        CascadeCase{"SpecificityBeatsOrder",
                    {"#c { display: none } td { display: block }"},
                    "c",
                    kDisplay,
                    "none"},
        CascadeCase{"ClassBeatsType",
                    {".cell { display: none } td { display: block }"},
                    "c",
                    kDisplay,
                    "none"},
        CascadeCase{"ImportantBeatsSpecificity",
                    {"td { display: none !important } #c { display: block }"},
                    "c",
                    kDisplay,
                    "none"},
        CascadeCase{"StyleAttributeBeatsRules", {"#c2 { display: none }"}, "c2", kDisplay, "block"},
        CascadeCase{"ImportantRuleBeatsStyleAttribute",
                    {"td { display: none !important }"},
                    "c2",
                    kDisplay,
                    "none"},
        CascadeCase{"InvalidValueLeavesTheEarlierOne",
                    {"td { display: none } td { display: bogus }"},
                    "c",
                    kDisplay,
                    "none"},
        CascadeCase{"UnlayeredBeatsLayered",
                    {"@layer a { #c { display: none } } td { display: block }"},
                    "c",
                    kDisplay,
                    "block"},
        CascadeCase{
            "LaterLayerWins",
            {"@layer a, b; @layer b { td { display: block } } @layer a { #c { display: none } }"},
            "c",
            kDisplay,
            "block"},
        CascadeCase{"SublayerLosesToItsLayer",
                    {"@layer a { td { display: none } @layer b { #c { display: block } } }"},
                    "c",
                    kDisplay,
                    "none"},
        CascadeCase{
            "ImportantLayersGoTheOtherWay",
            {"@layer a { td { display: none !important } } td { display: block !important }"},
            "c",
            kDisplay,
            "none"},
        CascadeCase{"RevertLayerFallsToTheLayerBelow",
                    {"@layer a { td { display: none } } td { display: revert-layer }"},
                    "c",
                    kDisplay,
                    "none"},
        CascadeCase{"RevertGoesToTheUserAgent",
                    {"td { display: none } td { display: revert }"},
                    "c",
                    kDisplay,
                    "revert"},
        CascadeCase{
            "AllSetsEveryProperty", {"td { all: inherit }"}, "c", Property::Visibility, "inherit"},
        CascadeCase{
            "VariablesAreUnset", {"td { display: var(--shown, none) }"}, "c", kDisplay, "unset"},
        CascadeCase{"WhiteSpaceShorthandThenLonghand",
                    {"td { white-space: pre; white-space-collapse: preserve-breaks }"},
                    "c",
                    Property::WhiteSpaceCollapse,
                    "breaks"},
        CascadeCase{"WhiteSpaceLonghandsInTheShorthand",
                    {"td { white-space: nowrap preserve }"},
                    "c",
                    Property::WhiteSpaceCollapse,
                    "preserve"},
        CascadeCase{"MediaForPrintIsLeftOut",
                    {"@media print { td { display: none } }"},
                    "c",
                    kDisplay,
                    "-"},
        CascadeCase{"MediaForAWideScreenApplies",
                    {"@media screen and (min-width: 1000px) { td { display: none } }"},
                    "c",
                    kDisplay,
                    "none"},
        CascadeCase{"SupportsThatSurelyHolds",
                    {"@supports (display: grid) and selector(:has(a)) { td { display: none } }"},
                    "c",
                    kDisplay,
                    "none"},
        CascadeCase{"SupportsOfWhatIsNotReadHere",
                    {"@supports (backdrop-filter: blur(1px)) { td { display: none } }"},
                    "c",
                    kDisplay,
                    "-"},
        CascadeCase{"SupportsNotOfWhatIsRead",
                    {"@supports not (display: grid) { td { display: none } }"},
                    "c",
                    kDisplay,
                    "-"},
        CascadeCase{"SupportsNotOfWhatIsNotReadHere",
                    {"@supports not (display: frobnicate) { td { display: none } }"},
                    "c",
                    kDisplay,
                    "-"},
        CascadeCase{"SupportsNested",
                    {"td { @supports (float: left) { display: none } }"},
                    "c",
                    kDisplay,
                    "none"},
        CascadeCase{"ImportWithSupport",
                    {"@import 'hide.css' supports(display: flex) screen; td { float: left }"},
                    "c",
                    kDisplay,
                    "none"},
        CascadeCase{"UnknownAtRuleIsLeftOut",
                    {"@frobnicate { td { display: none } } td { float: left }"},
                    "c",
                    kDisplay,
                    "-"},
        CascadeCase{"NestedRule", {"table { td { display: none } }"}, "c", kDisplay, "none"},
        CascadeCase{
            "NestedRuleWithCombinator", {"tr { > td { display: none } }"}, "c", kDisplay, "none"},
        CascadeCase{"NestedDeclarationsComeAfterTheNestedRule",
                    {"td { display: none; span { color: red } display: block }"},
                    "c",
                    kDisplay,
                    "block"},
        CascadeCase{
            "NestedMedia", {"td { @media screen { display: none } }"}, "c", kDisplay, "none"},
        CascadeCase{"NestingSelectorSpecificity",
                    {"#t td { & { display: none } } td.cell.big, td.cell.Big { display: block }"},
                    "c",
                    kDisplay,
                    "none"},
        CascadeCase{"ImportIsFollowed",
                    {"@import 'hide.css'; td { visibility: hidden }"},
                    "c",
                    kDisplay,
                    "none"},
        CascadeCase{"ImportedRulesComeFirst",
                    {"@import url(hide.css); td { display: block }"},
                    "c",
                    kDisplay,
                    "block"},
        CascadeCase{"ImportOfAnImport", {"@import 'nested.css';"}, "c", kDisplay, "none"},
        CascadeCase{"ImportLoopEnds", {"@import 'loop.css';"}, "c", kDisplay, "table-cell"},
        CascadeCase{"ImportAfterARuleIsIgnored",
                    {"td { color: red } @import 'hide.css';"},
                    "c",
                    kDisplay,
                    "-"},
        CascadeCase{"ImportForPrintIsIgnored", {"@import 'hide.css' print;"}, "c", kDisplay, "-"},
        CascadeCase{"ImportIntoALayer",
                    {"@import 'hide.css' layer(base); td { display: block }"},
                    "c",
                    kDisplay,
                    "block"},
        CascadeCase{"MissingImportIsAbsent",
                    {"@import 'missing.css'; td { float: left }"},
                    "c",
                    kDisplay,
                    "-"},
        CascadeCase{"DefaultNamespaceLimitsTypeSelectors",
                    {"@namespace url(http://www.w3.org/2000/svg); td { display: none }"},
                    "c",
                    kDisplay,
                    "-"},
        CascadeCase{"UnanswerableSelectorIsLeftOut",
                    {"td:focus, #c2 { display: none }"},
                    "c",
                    kDisplay,
                    "-"},
        CascadeCase{"PseudoElementRulesAreNotTheElements",
                    {"td::after { display: none }"},
                    "c",
                    kDisplay,
                    "-"}),
    [](const ::testing::TestParamInfo<CascadeCase>& row) { return std::string(row.param.name); });

TEST(CascadeOrder, QuirksModeIgnoresTheCaseOfClasses) {
    testing::TestTree tree(kTable);
    RuleSet rules;
    rules.addStyleSheet({".BIG { display: none }", "page.html"}, resolve);
    rules.finish();
    EXPECT_EQ(describe(Cascade(rules, tree.tree(), true).element(tree.byId("c"))[kDisplay]),
              "none");
    EXPECT_EQ(describe(Cascade(rules, tree.tree(), false).element(tree.byId("c"))[kDisplay]), "-");
}

TEST(CascadeOrder, PseudoElementsHaveTheirOwnValues) {
    testing::TestTree tree(kTable);
    RuleSet rules;
    rules.addStyleSheet({"td::after { content: ' · ' attr(id) counter(x) } "
                         "td.cell:after { display: block } td::before { content: none }",
                         "page.html"},
                        resolve);
    rules.finish();
    Cascade cascade(rules, tree.tree(), false);
    const parser::NodeId cell = tree.byId("c");
    const CascadedValues& after = cascade.pseudoElement(cell, PseudoElement::After);
    EXPECT_EQ(describe(after[kDisplay]), "block");
    ASSERT_EQ(describe(after[Property::Content]), "items");
    const GeneratedContent& items = cascade.content(*after[Property::Content]);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].text, " \u00b7 ");
    EXPECT_EQ(items[1].kind, ContentItem::Kind::Attribute);
    EXPECT_EQ(items[2].kind, ContentItem::Kind::Symbol);
    EXPECT_EQ(describe(cascade.pseudoElement(cell, PseudoElement::Before)[Property::Content]),
              "none");
    EXPECT_TRUE(cascade.hasPseudoElementRules());
}

TEST(CascadeOrder, RulesThatChangeNoTextAreDropped) {
    RuleSet rules;
    rules.addStyleSheet(
        {"td { color: red; font: 12px serif } td:last-child { margin: 0 }", "page.html"}, resolve);
    rules.finish();
    EXPECT_TRUE(rules.empty());
    EXPECT_FALSE(rules.looksForward());
    rules.addStyleSheet({"tr:last-child td { display: none }", "page.html"}, resolve);
    EXPECT_TRUE(rules.looksForward());
}

}  // namespace
}  // namespace veltrano::html::css
