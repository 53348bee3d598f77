// What the html5lib cases do not cover: Chromium's depth limit, inputs that must build in
// linear time (parsed here, timed in bench/tree_builder_bench), and the cases the differential
// fuzzing against gumbo brought up. The observer and
// releaseChildren are tested in tree_builder_observer_test.cpp.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

#include "platform/html/parser/node_tree.h"
#include "platform/html/parser/parsed_document.h"
#include "platform/html/parser/tree_dump.h"

namespace veltrano::html::parser {
namespace {

std::string repeat(std::string_view text, int count) {
    std::string result;
    for (int i = 0; i < count; ++i) {
        result += text;
    }
    return result;
}

template <class Case>
std::string caseName(const testing::TestParamInfo<Case>& row) {
    return row.param.name;
}

// The depth of the last node of the given name ("#text" for text) in document order; html is
// at depth 1.
int depthOfLast(const NodeTree& tree, std::string_view name) {
    int found = 0;
    int depth = 0;
    NodeId node = tree[tree.document()].firstChild;
    ++depth;
    while (node != kNoNode) {
        const Node& current = tree[node];
        const bool matches =
            current.kind == NodeKind::Text
                ? name == "#text"
                : current.kind == NodeKind::Element && tree.nameText(current.name) == name;
        if (matches) {
            found = depth;
        }
        if (current.firstChild != kNoNode) {
            node = current.firstChild;
            ++depth;
            continue;
        }
        while (node != kNoNode && tree[node].nextSibling == kNoNode) {
            node = tree[node].parent;
            --depth;
        }
        if (node != kNoNode) {
            node = tree[node].nextSibling;
        }
    }
    return found;
}

struct DepthCase {
    const char* name;
    std::string html;
    const char* nodeName;
    int depth;
};

void PrintTo(const DepthCase& row, std::ostream* out) {
    *out << row.name;
}

class DepthLimit : public testing::TestWithParam<DepthCase> {};

TEST_P(DepthLimit, ElementsStopNestingPast512OpenElements) {
    const auto document = parseHtml(GetParam().html);
    EXPECT_EQ(depthOfLast(document->tree, GetParam().nodeName), GetParam().depth);
}

// html and body are open besides the divs: 510 divs make 512 open elements.
INSTANTIATE_TEST_SUITE_P(
    TreeBuilder, DepthLimit,
    testing::Values(
        DepthCase{"BelowTheLimit", repeat("<div>", 510), "div", 512},
        DepthCase{"AtTheLimit", repeat("<div>", 511), "div", 513},
        DepthCase{"PastTheLimit", repeat("<div>", 512), "div", 513},
        DepthCase{"FarPastTheLimit", repeat("<div>", 600), "div", 513},
        DepthCase{"TextStaysInTheCurrentNode", repeat("<div>", 600) + "x", "#text", 514},
        // The table goes beside the last div, and what it fosters goes before it.
        DepthCase{"FosterParentingUnchanged", repeat("<div>", 600) + "<table><b>", "b", 513}),
    caseName<DepthCase>);

int countElements(const NodeTree& tree, std::string_view name) {
    int count = 0;
    for (NodeId node = tree.document(); node != kNoNode;) {
        const Node& current = tree[node];
        if (current.kind == NodeKind::Element && tree.nameText(current.name) == name) {
            ++count;
        }
        if (current.firstChild != kNoNode) {
            node = current.firstChild;
            continue;
        }
        while (node != kNoNode && tree[node].nextSibling == kNoNode) {
            node = tree[node].parent;
        }
        if (node != kNoNode) {
            node = tree[node].nextSibling;
        }
    }
    return count;
}

struct LinearCase {
    const char* name;
    std::string html;
    const char* elementName;
    int count;
};

void PrintTo(const LinearCase& row, std::ostream* out) {
    *out << row.name;
}

class LinearTimeInputs : public testing::TestWithParam<LinearCase> {};

TEST_P(LinearTimeInputs, BuildEveryElement) {
    const auto document = parseHtml(GetParam().html);
    EXPECT_EQ(countElements(document->tree, GetParam().elementName), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(
    TreeBuilder, LinearTimeInputs,
    testing::Values(LinearCase{"HundredThousandDivs", repeat("<div>", 100000), "div", 100000},
                    LinearCase{"FiftyThousandNestedTables", repeat("<table><tr><td>", 50000), "td",
                               50000},
                    LinearCase{"ManyOpenSpansAndUnknownEndTags",
                               repeat("<span>", 50000) + repeat("</x>", 50000), "span", 50000}),
    caseName<LinearCase>);

TEST(TreeBuilder, KeepsAMillionAttributesOfOneElement) {
    std::string html = "<div";
    for (int i = 0; i < 1000000; ++i) {
        html += " a" + std::to_string(i) + "=1";
    }
    const auto document = parseHtml(html + ">");
    const NodeTree& tree = document->tree;
    const NodeId body = tree[tree[tree.document()].firstChild].lastChild;
    EXPECT_EQ(tree.attributes(tree[body].firstChild).size(), 1000000u);
}

// Each tree worked out by hand from the parsing algorithm; Chromium builds the same.
TEST(TreeBuilder, BuildsTheTreesTheDifferentialFuzzingQuestioned) {
    // Only the characters other than white space are dropped in a template's column group.
    EXPECT_EQ(dumpTree(parseHtml("<table><template><col>a b</template></table>")->tree),
              "| <html>\n|   <head>\n|   <body>\n|     <table>\n|       <template>\n"
              "|         content\n|           <col>\n|           \" \"\n");
    // Text in a table whose current node is a foster-parented element first rebuilds the
    // formatting elements that element's start closed.
    EXPECT_EQ(dumpTree(parseHtml("<table><p><i><p> x")->tree),
              "| <html>\n|   <head>\n|   <body>\n|     <p>\n|       <i>\n|     <p>\n"
              "|       <i>\n|         \" x\"\n|     <table>\n");
    // "</>" is dropped whole.
    EXPECT_EQ(dumpTree(parseHtml("</><y>")->tree), "| <html>\n|   <head>\n|   <body>\n|     <y>\n");
}

}  // namespace
}  // namespace veltrano::html::parser
