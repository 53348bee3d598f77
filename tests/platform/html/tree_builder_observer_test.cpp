// The tree builder as the streaming table extraction uses it: the observer's events and
// releaseChildren, on chosen inputs and over every html5lib whole-document case.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "html5lib_tree_cases.h"
#include "platform/html/parser/node_tree.h"
#include "platform/html/parser/text_store.h"
#include "platform/html/parser/tokenizer.h"
#include "platform/html/parser/tree_builder.h"
#include "platform/html/parser/tree_dump.h"
#include "platform/html/parser/tree_observer.h"

namespace veltrano::html::parser {
namespace {

template <class Case>
std::string caseName(const testing::TestParamInfo<Case>& row) {
    return row.param.name;
}

bool isElement(const NodeTree& tree, NodeId node, std::string_view name) {
    return tree[node].kind == NodeKind::Element && tree.nameText(tree[node].name) == name;
}

// Calls its handlers for each event; what a test wants from the events is in the handlers.
class Observer final : public TreeObserver {
public:
    void elementInserted(NodeId element) override { onInserted(element); }
    void elementPopped(NodeId element) override { onPopped(element); }

    std::function<void(NodeId)> onInserted = [](NodeId) {};
    std::function<void(NodeId)> onPopped = [](NodeId) {};
};

// A document parsed through the tree builder with an observer, as the streaming driver does.
// The handlers may use builder and tokenizer, which live while the parse runs.
struct ObservedParse {
    TextStore text;
    NodeTree tree{text};
    Observer observer;
    TreeBuilder* builder = nullptr;
    Tokenizer* tokenizer = nullptr;

    void run(std::string html) {
        text.input() = std::move(html);
        TreeBuilder treeBuilder(text, tree, &observer);
        Tokenizer htmlTokenizer(text, tree.names(), treeBuilder);
        treeBuilder.setTokenizer(&htmlTokenizer);
        builder = &treeBuilder;
        tokenizer = &htmlTokenizer;
        while (htmlTokenizer.run(std::numeric_limits<std::size_t>::max())) {
        }
        builder = nullptr;
        tokenizer = nullptr;
    }
};

// "+name" for each element inserted and "-name" for each popped, space-separated.
std::string events(std::string html) {
    ObservedParse parse;
    std::string recorded;
    const auto record = [&](char sign, NodeId element) {
        if (!recorded.empty()) {
            recorded += ' ';
        }
        recorded += sign;
        recorded += parse.tree.nameText(parse.tree[element].name);
    };
    parse.observer.onInserted = [&](NodeId element) { record('+', element); };
    parse.observer.onPopped = [&](NodeId element) { record('-', element); };
    parse.run(std::move(html));
    return recorded;
}

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
    EXPECT_EQ(events(GetParam().html), GetParam().events);
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
                  "-button +option +b -b +b -b -option -select -body -html"},
        // Copies are reported as their markup would be parsed: siblings stay siblings.
        EventCase{"SelectedContentCopiesNestAsInTheTree",
                  "<select><button><selectedcontent></button><option><i><u></u></i><b>y</b>",
                  "+html +head -head +body +select +button +selectedcontent -selectedcontent "
                  "-button +option +i +u -u -i +b -b +i +u -u -i +b -b -option -select -body "
                  "-html"}),
    caseName<EventCase>);

// The body's part of the dump, one "|" after each line, without the body's indent.
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

struct ReleaseCase {
    const char* name;
    const char* html;
    const char* releaseName;  // the first element popped with this name is let go
    const char* tree;         // bodyLines of the result
};

void PrintTo(const ReleaseCase& row, std::ostream* out) {
    *out << row.name;
}

class ReleaseChildren : public testing::TestWithParam<ReleaseCase> {};

TEST_P(ReleaseChildren, LeavesNoPointerToMatchAReusedNode) {
    ObservedParse parse;
    bool released = false;
    parse.observer.onPopped = [&](NodeId element) {
        if (!released && isElement(parse.tree, element, GetParam().releaseName)) {
            parse.builder->releaseChildren(element);
            released = true;
        }
    };
    parse.run(GetParam().html);
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
                    "<form>|  <div>|    \"x\"|"},
        // The selectedcontent is let go with the button; the option's copy must not go into
        // the node that reuses its number.
        ReleaseCase{"SelectedContentInside",
                    "<select><button><selectedcontent></button><div></div><option>X", "button",
                    "<select>|  <button>|  <div>|  <option>|    \"X\"|"}),
    caseName<ReleaseCase>);

// The subtree below node as text: each node's depth and name or text, in tree order.
std::string subtreeText(const NodeTree& tree, NodeId root) {
    std::string text;
    int depth = 0;
    NodeId node = tree[root].firstChild;
    while (node != kNoNode) {
        const Node& current = tree[node];
        text += std::to_string(depth);
        text += current.kind == NodeKind::Element ? std::string(tree.nameText(current.name))
                                                  : tree.textOf(node);
        text += '|';
        if (current.firstChild != kNoNode) {
            node = current.firstChild;
            ++depth;
            continue;
        }
        while (node != root && tree[node].nextSibling == kNoNode) {
            node = tree[node].parent;
            --depth;
        }
        node = node == root ? kNoNode : tree[node].nextSibling;
    }
    return text;
}

bool holdsSelectedContent(const NodeTree& tree, NodeId root) {
    for (NodeId node = tree[root].firstChild; node != kNoNode;) {
        if (isElement(tree, node, "selectedcontent")) {
            return true;
        }
        if (tree[node].firstChild != kNoNode) {
            node = tree[node].firstChild;
            continue;
        }
        while (node != root && tree[node].nextSibling == kNoNode) {
            node = tree[node].parent;
        }
        node = node == root ? kNoNode : tree[node].nextSibling;
    }
    return false;
}

// What the streaming extraction relies on, over every html5lib document: each element is
// inserted once and popped once (the head may be popped again), and what lies below an element
// popped with nothing open inside does not change afterwards (the head and selectedcontent,
// which the HTML Standard changes later, excepted).
TEST(TreeBuilderObserver, EveryHtml5libDocumentKeepsTheObserverContract) {
    for (const Html5libTreeCase& treeCase : readHtml5libTreeCases()) {
        if (!treeCase.wholeDocument()) {
            continue;
        }
        SCOPED_TRACE(treeCase.name);
        ObservedParse parse;
        const NodeTree& tree = parse.tree;
        std::map<NodeId, int> inserted;
        std::map<NodeId, int> popped;
        std::map<NodeId, std::string> closedSubtrees;
        const auto isOpen = [&](NodeId node) {
            return inserted.contains(node) && !popped.contains(node);
        };
        const auto nothingOpenInside = [&](NodeId root) {
            for (NodeId node = tree[root].firstChild; node != kNoNode;) {
                if (isOpen(node)) {
                    return false;
                }
                if (tree[node].firstChild != kNoNode) {
                    node = tree[node].firstChild;
                    continue;
                }
                while (node != root && tree[node].nextSibling == kNoNode) {
                    node = tree[node].parent;
                }
                node = node == root ? kNoNode : tree[node].nextSibling;
            }
            return true;
        };
        parse.observer.onInserted = [&](NodeId element) {
            EXPECT_NE(tree[element].parent, kNoNode);
            EXPECT_EQ(++inserted[element], 1);
        };
        parse.observer.onPopped = [&](NodeId element) {
            EXPECT_TRUE(inserted.contains(element));
            if (++popped[element] > 1) {
                EXPECT_TRUE(isElement(tree, element, "head"));
            }
            if (!isElement(tree, element, "head") && !isElement(tree, element, "selectedcontent") &&
                !holdsSelectedContent(tree, element) && nothingOpenInside(element)) {
                closedSubtrees[element] = subtreeText(tree, element);
            }
        };
        parse.run(treeCase.data);
        for (const auto& [element, count] : inserted) {
            EXPECT_TRUE(popped.contains(element)) << tree.nameText(tree[element].name);
        }
        for (const auto& [element, text] : closedSubtrees) {
            EXPECT_EQ(subtreeText(tree, element), text) << tree.nameText(tree[element].name);
        }
    }
}

// Letting go of each element popped before the end of the input (the head and documents with
// selectedcontent aside) must leave every other part of the tree as a parse without releases
// builds it: nothing of the tree builder may still point into what was let go.
TEST(TreeBuilderObserver, ReleasingClosedElementsChangesNothingElse) {
    int releases = 0;
    for (const Html5libTreeCase& treeCase : readHtml5libTreeCases()) {
        if (!treeCase.wholeDocument() ||
            treeCase.data.find("selectedcontent") != std::string::npos) {
            continue;
        }
        SCOPED_TRACE(treeCase.name);
        ObservedParse whole;
        std::vector<NodeId> wholeOrder;
        whole.observer.onInserted = [&](NodeId element) { wholeOrder.push_back(element); };
        whole.run(treeCase.data);

        ObservedParse streamed;
        std::vector<std::size_t> releasedOrder;  // indexes into the insertion order
        std::size_t insertions = 0;
        std::map<NodeId, std::size_t> insertionIndex;  // of each node number's latest element
        streamed.observer.onInserted = [&](NodeId element) {
            insertionIndex[element] = insertions++;
        };
        const std::size_t inputSize = treeCase.data.size();
        streamed.observer.onPopped = [&](NodeId element) {
            if (streamed.tokenizer->position() >= inputSize ||
                isElement(streamed.tree, element, "head")) {
                return;
            }
            streamed.builder->releaseChildren(element);
            if (streamed.tree[element].released) {
                releasedOrder.push_back(insertionIndex.at(element));
            }
        };
        streamed.run(treeCase.data);

        ASSERT_EQ(insertions, wholeOrder.size());
        for (const std::size_t index : releasedOrder) {
            whole.tree.releaseChildren(wholeOrder[index]);
        }
        releases += static_cast<int>(releasedOrder.size());
        EXPECT_EQ(dumpTree(streamed.tree), dumpTree(whole.tree));
    }
    EXPECT_GT(releases, 1000);
}

// Whether an element of open lies below root, template contents included.
bool holdsOpenElement(const NodeTree& tree, NodeId root, const std::set<NodeId>& open) {
    std::vector<NodeId> roots{root};
    while (!roots.empty()) {
        const NodeId top = roots.back();
        roots.pop_back();
        for (NodeId node = tree[top].firstChild; node != kNoNode;) {
            if (open.contains(node)) {
                return true;
            }
            if (const NodeId contents = tree.findTemplateContents(node); contents != kNoNode) {
                roots.push_back(contents);
            }
            if (tree[node].firstChild != kNoNode) {
                node = tree[node].firstChild;
                continue;
            }
            while (node != top && tree[node].nextSibling == kNoNode) {
                node = tree[node].parent;
            }
            node = node == top ? kNoNode : tree[node].nextSibling;
        }
    }
    return false;
}

// releaseChildren lets go exactly when nothing inside is open, whether it asks the open
// elements or walks the subtree: checked against the open elements that the events tell, over
// every html5lib document (the head, whose pushing back is not reported, and documents with
// selectedcontent aside).
TEST(TreeBuilderObserver, ReleasesExactlyWhenNothingInsideIsOpen) {
    int releases = 0;
    int refusals = 0;
    for (const Html5libTreeCase& treeCase : readHtml5libTreeCases()) {
        if (!treeCase.wholeDocument() ||
            treeCase.data.find("selectedcontent") != std::string::npos) {
            continue;
        }
        SCOPED_TRACE(treeCase.name);
        ObservedParse parse;
        std::set<NodeId> open;
        parse.observer.onInserted = [&](NodeId element) { open.insert(element); };
        const std::size_t inputSize = treeCase.data.size();
        parse.observer.onPopped = [&](NodeId element) {
            open.erase(element);
            if (parse.tokenizer->position() >= inputSize ||
                isElement(parse.tree, element, "head")) {
                return;
            }
            const bool expected = !holdsOpenElement(parse.tree, element, open);
            parse.builder->releaseChildren(element);
            EXPECT_EQ(parse.tree[element].released, expected)
                << parse.tree.nameText(parse.tree[element].name);
            ++(expected ? releases : refusals);
        };
        parse.run(treeCase.data);
    }
    EXPECT_GT(releases, 1000);
    EXPECT_GT(refusals, 0);
}

}  // namespace
}  // namespace veltrano::html::parser
