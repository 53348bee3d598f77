#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/html/css/css_parser.h"
#include "platform/html/css/selector_matcher.h"
#include "platform/html/css/selector_parser.h"
#include "test_tree.h"

namespace veltrano::html::css {
namespace {

constexpr const char* kDocument =
    "<html id=root lang=en><body id=body>"
    "<div id=d1 class=\"a B\">"
    "<p id=p1 title=\"hello world\" lang=de-CH></p>"
    "<p id=p2 data-x=abc-def></p>"
    "<span id=s1></span>"
    "<p id=p3 class=a>text</p>"
    "</div>"
    "<div id=d2><a id=link href=x></a><a id=nolink></a></div>"
    "<ul id=list><li id=l1></li><li id=l2 class=x></li><li id=l3 class=x></li><li id=l4></li>"
    "<li id=l5 class=x></li></ul>"
    "<div id=empty></div><div id=blank> </div><div id=solo><b id=only></b></div>"
    "<svg:svg id=svg><svg:foreignObject id=fo></svg:foreignObject>"
    "<svg:a id=svga xlink:href=y></svg:a></svg:svg>"
    "<my-element id=custom></my-element>"
    "<input id=in type=TEXT>"
    "</input></body></html>";

// The ids of the elements a selector list matches, or "invalid".
std::string matching(const std::string& selectors, bool quirksMode = false,
                     const char* document = kDocument) {
    testing::TestTree tree(document);
    SelectorSet set;
    const ComponentValues values = parseComponentValues(selectors);
    const NamespaceRules namespaces;
    const auto list = SelectorParser(set, values, namespaces, nullptr)
                          .parseSelectorList({0, static_cast<std::uint32_t>(values.size())});
    if (!list) {
        return "invalid";
    }
    const SelectorMatcher matcher(set, tree.tree(), quirksMode);
    std::string out;
    for (const std::string& id : tree.ids()) {
        for (std::uint32_t i = list->begin; i < list->end; ++i) {
            if (matcher.matches(set.lists[i], tree.byId(id))) {
                out += (out.empty() ? "" : " ") + id;
                break;
            }
        }
    }
    return out;
}

struct MatchCase {
    const char* name;
    const char* selectors;
    const char* expected;
};

class SelectorMatching : public ::testing::TestWithParam<MatchCase> {};

TEST_P(SelectorMatching, FindsWhatTheBrowserFinds) {
    EXPECT_EQ(matching(GetParam().selectors), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Selectors, SelectorMatching,
    ::testing::Values(
        MatchCase{"TypeIgnoresCaseOnHtmlElements", "P", "p1 p2 p3"},
        MatchCase{"TypeKeepsCaseOnForeignElements", "foreignObject, foreignobject", "fo"},
        MatchCase{"UnknownElementName", "my-element", "custom"},
        MatchCase{"Universal", "div > *", "p1 p2 s1 p3 link nolink only"},
        MatchCase{"ClassKeepsCaseOutsideQuirks", ".a, .b", "d1 p3"},
        MatchCase{"Id", "#p2, #P2", "p2"}, MatchCase{"AttributePresent", "[title]", "p1"},
        MatchCase{"AttributeEquals", "[title=\"hello world\"]", "p1"},
        MatchCase{"AttributeIncludes", "[title~=world], [title~=\"hello world\"]", "p1"},
        MatchCase{"AttributeDashMatch", "[lang|=de], [lang|=CH]", "p1"},
        MatchCase{"AttributePrefixSuffixSubstring",
                  "[data-x^=abc], [data-x$=def], [data-x*=\"c-d\"], [title^=\"\"]", "p2"},
        MatchCase{"AttributeCaseFlags", "[title=\"HELLO WORLD\" i], [type=text s]", "p1"},
        MatchCase{"AttributeWhoseValueIgnoresCaseInHtml", "[type=text]", "in"},
        MatchCase{"AttributeInAnyNamespace", "[*|href]", "link svga"},
        MatchCase{"Descendant", "body p", "p1 p2 p3"},
        MatchCase{"Child", "body > p, div > p", "p1 p2 p3"},
        MatchCase{"NextSibling", "p + p, span + p", "p2 p3"},
        MatchCase{"SubsequentSibling", "#p1 ~ *", "p2 s1 p3"},
        MatchCase{"LongChainBacktracks", "html div > span + p.a", "p3"},
        MatchCase{"DescendantBacktracksAcrossSiblings", "#d1 ~ div a", "link nolink"},
        MatchCase{"FirstAndLastChild", "li:first-child, li:last-child", "l1 l5"},
        MatchCase{"OnlyChild", "div > :only-child, li:only-child", "only"},
        MatchCase{"NthChild", "li:nth-child(2n+1)", "l1 l3 l5"},
        MatchCase{"NthChildNegativeStep", "li:nth-child(-n+2)", "l1 l2"},
        MatchCase{"NthChildEven", "li:nth-child( even )", "l2 l4"},
        MatchCase{"NthLastChild", "li:nth-last-child(2)", "l4"},
        MatchCase{"NthChildOfSelector", "li:nth-child(2 of .x)", "l3"},
        MatchCase{"NthLastChildOfSelector", "li:nth-last-child(1 of :not(.x))", "l4"},
        MatchCase{"OfType", "p:first-of-type, p:nth-last-of-type(1), span:only-of-type",
                  "p1 s1 p3"},
        MatchCase{"NthOfType", "p:nth-of-type(2)", "p2"},
        MatchCase{"Not", "p:not(.a, [title])", "p2"},
        MatchCase{"IsAndWhere", ":is(span, #p2), :where(#d2) a", "p2 s1 link nolink"},
        MatchCase{"IsForgivesInvalidArguments", ":is(span, :no-such-thing), :is(::before)", "s1"},
        MatchCase{"InvalidSelectorSinksTheList", "span, :no-such-thing", "invalid"},
        MatchCase{"Root", ":root, :scope", "root"},
        MatchCase{"EmptyCountsWhiteSpace", "div:empty", "empty"},
        MatchCase{"Lang", "p:lang(en), li:lang(\"*-CH\")", "p2 p3"},
        MatchCase{"LangExtendedRange", ":lang(\"de-*-CH\")", "p1"},
        MatchCase{"Links", "a:link, :any-link", "link svga"},
        MatchCase{"UndefinedCustomElement", ":not(:defined)", "custom"},
        MatchCase{"NothingIsHoveredOrVisited", "p:hover, a:visited, p:not(:hover)", "p1 p2 p3"},
        MatchCase{"UnanswerableSelectorMatchesNothing", "span, p:checked, :not(:checked)", "s1"},
        MatchCase{"UnanswerableInsideIsMatchesNothing", "span, :is(p, :disabled)", "s1"},
        MatchCase{"NothingHasFocus", "p:not(:focus-within), span:focus", "p1 p2 p3"},
        MatchCase{"PseudoElementsAreValid", "p::before, span::marker, div::-webkit-scrollbar",
                  "d1 p1 p2 s1 p3 d2 empty blank solo"}),
    [](const ::testing::TestParamInfo<MatchCase>& row) { return std::string(row.param.name); });

TEST(SelectorMatching, ClassAndIdIgnoreCaseInQuirksMode) {
    EXPECT_EQ(matching(".b, #P2", true), "d1 p2");
}

TEST(SelectorMatching, NestingAtTheTopLevelIsTheRoot) {
    EXPECT_EQ(matching("& > body"), "body");
}

class InvalidSelector : public ::testing::TestWithParam<const char*> {};

TEST_P(InvalidSelector, InvalidatesItsRule) {
    EXPECT_EQ(matching(GetParam()), "invalid");
}

INSTANTIATE_TEST_SUITE_P(Selectors, InvalidSelector,
                         ::testing::Values("p..a", "p >", "> p", "#1a", "[a=]", "[a=b c]", "::foo",
                                           "p::before span", "p::before.a", ":nth-child(3 n)",
                                           ":nth-child(+ 2n)", "x|p", "p,", "", ":not()",
                                           ":not(::before)", "&p", "p || q", ":nth-of-type(2 of p)",
                                           ":lang()", "a:first"));

struct SpecificityCase {
    const char* selector;
    int a;
    int b;
    int c;
};

class SelectorSpecificity : public ::testing::TestWithParam<SpecificityCase> {};

TEST_P(SelectorSpecificity, CountsIdsClassesAndTypes) {
    SelectorSet set;
    const ComponentValues values = parseComponentValues(GetParam().selector);
    const NamespaceRules namespaces;
    const auto list = SelectorParser(set, values, namespaces, nullptr)
                          .parseSelectorList({0, static_cast<std::uint32_t>(values.size())});
    ASSERT_TRUE(list && list->end == list->begin + 1);
    EXPECT_EQ(set.complexes[set.lists[list->begin]].specificity,
              specificity(GetParam().a, GetParam().b, GetParam().c));
}

INSTANTIATE_TEST_SUITE_P(
    Selectors, SelectorSpecificity,
    ::testing::Values(SpecificityCase{"*", 0, 0, 0}, SpecificityCase{"ul ol+li", 0, 0, 3},
                      SpecificityCase{"h1 + *[rel=up]", 0, 1, 1},
                      SpecificityCase{"li.red.level", 0, 2, 1}, SpecificityCase{"#x34y", 1, 0, 0},
                      SpecificityCase{"#s12:not(FOO)", 1, 0, 1},
                      SpecificityCase{":is(#a, .b) c", 1, 0, 1},
                      SpecificityCase{":where(#a) c", 0, 0, 1},
                      SpecificityCase{"li:nth-child(2n of #a, .b)", 1, 1, 1},
                      SpecificityCase{"p::before", 0, 0, 2}, SpecificityCase{"p:before", 0, 0, 2},
                      SpecificityCase{"a:hover:first-child", 0, 2, 1},
                      SpecificityCase{"li:only-child", 0, 1, 1}));

// Positions among siblings are remembered from one element to the next; they must follow the
// tree as it grows and as elements are inserted before others.
TEST(SelectorMatching, PositionsFollowTheTreeAsItChanges) {
    testing::TestTree tree("<ul id=list><li id=a></li><li id=b></li></ul>");
    SelectorSet set;
    const ComponentValues values = parseComponentValues(":nth-child(2), :nth-last-child(1)");
    const NamespaceRules namespaces;
    const auto list = SelectorParser(set, values, namespaces, nullptr)
                          .parseSelectorList({0, static_cast<std::uint32_t>(values.size())});
    ASSERT_TRUE(list);
    const SelectorMatcher matcher(set, tree.tree(), false);
    const std::uint32_t second = set.lists[list->begin];
    const std::uint32_t last = set.lists[list->begin + 1];
    parser::NodeTree& nodes = tree.tree();
    const parser::NodeId a = tree.byId("a");
    const parser::NodeId b = tree.byId("b");
    EXPECT_FALSE(matcher.matches(second, a));
    EXPECT_TRUE(matcher.matches(second, b));
    EXPECT_TRUE(matcher.matches(last, b));

    const parser::NodeId c =
        nodes.createElement(parser::nameId(parser::KnownName::Li), parser::Namespace::Html, {});
    nodes.appendChild(tree.byId("list"), c);
    EXPECT_FALSE(matcher.matches(last, b));
    EXPECT_TRUE(matcher.matches(last, c));
    EXPECT_FALSE(matcher.matches(second, c));

    // As foster parenting puts content before an open table.
    EXPECT_TRUE(matcher.matches(second, b));
    const parser::NodeId inserted =
        nodes.createElement(parser::nameId(parser::KnownName::Li), parser::Namespace::Html, {});
    nodes.insertBefore(tree.byId("list"), inserted, b);
    EXPECT_FALSE(matcher.matches(second, b));
    EXPECT_TRUE(matcher.matches(second, inserted));
}

TEST(SelectorParsing, AHostileSelectorIsRefusedNotFollowedDeep) {
    std::string deep;
    for (int i = 0; i < 5000; ++i) {
        deep += ":is(";
    }
    EXPECT_EQ(matching(deep + "p"), "");  // :is() forgives, and too deep is invalid
    std::string chain = "p";
    for (int i = 0; i < 5000; ++i) {
        chain += " p";
    }
    EXPECT_EQ(matching(chain), "invalid");
}

}  // namespace
}  // namespace veltrano::html::css
