// What the html5lib cases do not cover: Chromium's depth limit, the observer's events,
// releaseChildren, and inputs that must build in linear time (parsed here, timed in
// bench/tree_builder_bench).

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/html/parser/node_tree.h"
#include "platform/html/parser/parsed_document.h"
#include "platform/html/parser/text_store.h"
#include "platform/html/parser/tokenizer.h"
#include "platform/html/parser/tree_builder.h"
#include "platform/html/parser/tree_dump.h"
#include "platform/html/parser/tree_observer.h"

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

// Records "+name" for each element inserted and "-name" for each popped; releases the
// children of the first popped element named releaseName, as the table extraction does.
class Recorder final : public TreeObserver {
public:
    void elementInserted(NodeId element) override { record('+', element); }
    void elementPopped(NodeId element) override {
        record('-', element);
        if (!releaseName.empty() && tree->nameText((*tree)[element].name) == releaseName) {
            builder->releaseChildren(element);
            releaseName.clear();
        }
    }

    std::string events;
    std::string releaseName;
    const NodeTree* tree = nullptr;
    TreeBuilder* builder = nullptr;

private:
    void record(char sign, NodeId element) {
        if (!events.empty()) {
            events += ' ';
        }
        events += sign;
        events += tree->nameText((*tree)[element].name);
    }
};

// A document parsed through the tree builder with an observer, as the streaming driver does.
struct ObservedParse {
    TextStore text;
    NodeTree tree{text};
    Recorder recorder;

    explicit ObservedParse(std::string html, std::string releaseName = {}) {
        text.input() = std::move(html);
        TreeBuilder builder(text, tree, &recorder);
        recorder.tree = &tree;
        recorder.builder = &builder;
        recorder.releaseName = std::move(releaseName);
        Tokenizer tokenizer(text, tree.names(), builder);
        builder.setTokenizer(&tokenizer);
        while (tokenizer.run(std::numeric_limits<std::size_t>::max())) {
        }
    }
};

struct EventCase {
    const char* name;
    const char* html;
    const char* events;
};

void PrintTo(const EventCase& row, std::ostream* out) {
    *out << row.name;
}

class ObserverEvents : public testing::TestWithParam<EventCase> {};

TEST_P(ObserverEvents, ReportsEachInsertionAndEachPopInOrder) {
    const ObservedParse parse(GetParam().html);
    EXPECT_EQ(parse.recorder.events, GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(
    TreeBuilder, ObserverEvents,
    testing::Values(
        EventCase{"TableWithRowsAndCells", "<table><tr><td>a<td>b</table>",
                  "+html +head -head +body +table +tbody +tr +td -td +td -td -tr -tbody -table "
                  "-body -html"},
        // The adoption agency puts a copy of b into p, takes b off the stack, and closes the
        // copy on its second round.
        EventCase{"AdoptionAgencyWithoutInnerLoop", "<b>1<p>2</b>3</p>",
                  "+html +head -head +body +b +p +b -b -b -p -body -html"},
        // The inner loop replaces i by a copy, reported once it is in the tree.
        EventCase{"AdoptionAgencyInnerLoop", "<a>1<i>2<div>3</a>4",
                  "+html +head -head +body +a +i +div -i +i +a -a -a -div -i -body -html"},
        EventCase{"HeadReopenedForMeta", "<head></head><meta><body>",
                  "+html +head -head +meta -meta -head +body -body -html"},
        EventCase{"FormTakenFromTheMiddle", "<form><div></form>x</div>",
                  "+html +head -head +body +form +div -form -div -body -html"},
        EventCase{"FramesetReplacesBody", "<p><frameset>",
                  "+html +head -head +body +p -p -body +frameset -frameset -html"},
        // The selected option is copied into selectedcontent when it is popped; the copies
        // never were open and are reported inserted and popped at once.
        EventCase{"SelectedContentCopies",
                  "<select><button><selectedcontent></button><option>X<b>y</b>",
                  "+html +head -head +body +select +button +selectedcontent -selectedcontent "
                  "-button +option +b -b +b -b -option -select -body -html"}),
    caseName<EventCase>);

struct ReleaseCase {
    const char* name;
    const char* html;
    const char* releaseName;
    const char* tree;  // the dump's lines below body, without "| " and the body's indent
};

void PrintTo(const ReleaseCase& row, std::ostream* out) {
    *out << row.name;
}

class ReleaseChildren : public testing::TestWithParam<ReleaseCase> {};

// The body's part of the dump, for short expectations.
std::string bodyLines(const std::string& dump) {
    const std::string marker = "|   <body>\n";
    const std::size_t at = dump.find(marker);
    std::string lines;
    std::size_t start = at == std::string::npos ? dump.size() : at + marker.size();
    while (start < dump.size()) {
        const std::size_t end = dump.find('\n', start);
        lines += dump.substr(start + 6, end - start - 6);
        lines += '|';
        start = end + 1;
    }
    return lines;
}

TEST_P(ReleaseChildren, LeavesNoPointerToMatchAReusedNode) {
    const ObservedParse parse(GetParam().html, GetParam().releaseName);
    EXPECT_EQ(bodyLines(dumpTree(parse.tree)), GetParam().tree);
}

INSTANTIATE_TEST_SUITE_P(
    TreeBuilder, ReleaseChildren,
    testing::Values(
        // The form is popped with the div but stays the form element pointer; the second div
        // reuses its node. "</form>" must not take that div off the stack.
        ReleaseCase{"FormPointerInside", "<div><form></div><div></form>x", "div",
                    "<div>|<div>|  \"x\"|"},
        // The same form pointer, never reset, still makes later forms be ignored.
        ReleaseCase{"FormPointerStillSet", "<div><form></div><form>x", "div", "<div>|\"x\"|"},
        // b stays in the list of active formatting elements; the div reuses its node, and "x"
        // must still reopen b.
        ReleaseCase{"FormattingElementInside", "<p><b>1</p><div>x", "p",
                    "<p>|<div>|  <b>|    \"x\"|"},
        // After "</form>" the div inside the form is still open: nothing is let go.
        ReleaseCase{"OpenElementInside", "<form><div></form>x", "form",
                    "<form>|  <div>|    \"x\"|"}),
    caseName<ReleaseCase>);

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

}  // namespace
}  // namespace veltrano::html::parser
