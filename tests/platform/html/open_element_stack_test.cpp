// The stack of open elements answers from indexes what the HTML Standard finds by walking the
// stack. These tests walk a plain copy of the stack after every step of long random sequences
// of pushes, pops and edits in the middle, and compare every answer.

#include "platform/html/parser/open_element_stack.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace veltrano::html::parser {
namespace {

constexpr NameId kNames = 6;  // small, so that names repeat and scopes matter

// The answers by walking, as the HTML Standard states them.
struct WalkedStack {
    std::vector<OpenElement> entries;

    std::ptrdiff_t positionOf(NodeId node) const {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].node == node) {
                return static_cast<std::ptrdiff_t>(i);
            }
        }
        return OpenElementStack::kNone;
    }
    std::ptrdiff_t topmost(NameId name, bool html) const {
        for (std::size_t i = entries.size(); i-- > 0;) {
            const OpenElement& e = entries[i];
            if ((e.ns == Namespace::Html) == html && (html ? e.name : e.tagName) == name) {
                return static_cast<std::ptrdiff_t>(i);
            }
        }
        return OpenElementStack::kNone;
    }
    std::ptrdiff_t nearest(Boundary boundary) const {
        for (std::size_t i = entries.size(); i-- > 0;) {
            if ((entries[i].boundaries & boundaryBit(boundary)) != 0) {
                return static_cast<std::ptrdiff_t>(i);
            }
        }
        return OpenElementStack::kNone;
    }
    // "has an element in scope": the target is found before any element of the scope's list.
    bool hasInScope(NameId name, Boundary scope) const {
        for (std::size_t i = entries.size(); i-- > 0;) {
            const OpenElement& e = entries[i];
            if (e.ns == Namespace::Html && e.name == name) {
                return true;
            }
            if ((e.boundaries & boundaryBit(scope)) != 0) {
                return false;
            }
        }
        return false;
    }
};

void expectSameAnswers(const OpenElementStack& stack, const WalkedStack& walked, NodeId nodeCount) {
    ASSERT_EQ(stack.size(), walked.entries.size());
    for (std::size_t i = 0; i < stack.size(); ++i) {
        ASSERT_EQ(stack[i].node, walked.entries[i].node);
    }
    for (NodeId node = 1; node < nodeCount; ++node) {
        ASSERT_EQ(stack.positionOf(node), walked.positionOf(node)) << "node " << node;
    }
    for (NameId name = 1; name <= kNames; ++name) {
        ASSERT_EQ(stack.topmostHtml(name), walked.topmost(name, true)) << "name " << name;
        ASSERT_EQ(stack.topmostForeign(name), walked.topmost(name, false)) << "name " << name;
        for (std::size_t b = 0; b < kBoundaryCount; ++b) {
            const auto boundary = static_cast<Boundary>(b);
            ASSERT_EQ(stack.hasInScope(name, boundary), walked.hasInScope(name, boundary))
                << "name " << name << " boundary " << b;
        }
    }
    for (std::size_t b = 0; b < kBoundaryCount; ++b) {
        ASSERT_EQ(stack.nearest(static_cast<Boundary>(b)),
                  walked.nearest(static_cast<Boundary>(b)));
    }
}

TEST(OpenElementStack, AnswersAsAWalkDownTheStackWould) {
    std::mt19937 random(20240607);
    OpenElementStack stack;
    WalkedStack walked;
    NodeId nextNode = 1;
    std::vector<NodeId> freeNodes;  // popped nodes, reused as the tree reuses released ones
    const auto newElement = [&] {
        OpenElement element;
        if (!freeNodes.empty() && random() % 2 == 0) {
            element.node = freeNodes.back();
            freeNodes.pop_back();
        } else {
            element.node = nextNode++;
        }
        element.name = static_cast<NameId>(1 + random() % kNames);
        element.tagName = static_cast<NameId>(1 + random() % kNames);
        element.ns = random() % 4 == 0 ? Namespace::Svg : Namespace::Html;
        element.boundaries = static_cast<std::uint16_t>(random() % 8 == 0 ? random() % 256 : 0);
        return element;
    };
    for (int step = 0; step < 20000; ++step) {
        // Pushes and pops balance, and the stack stays short enough to check in full.
        const unsigned action = walked.entries.size() > 40 ? 5 : random() % 10;
        if (action < 4 || walked.entries.empty()) {
            const OpenElement element = newElement();
            stack.push(element);
            walked.entries.push_back(element);
        } else if (action < 8) {
            freeNodes.push_back(stack.pop().node);
            walked.entries.pop_back();
        } else {
            // An edit in the middle: one entry out, or one in.
            const std::size_t at = random() % walked.entries.size();
            std::vector<OpenElement> above = stack.takeFrom(at);
            ASSERT_EQ(above.size(), walked.entries.size() - at);
            if (action == 8) {
                freeNodes.push_back(above.front().node);
                above.erase(above.begin());
                walked.entries.erase(walked.entries.begin() + static_cast<std::ptrdiff_t>(at));
            } else {
                const OpenElement element = newElement();
                above.insert(above.begin(), element);
                walked.entries.insert(walked.entries.begin() + static_cast<std::ptrdiff_t>(at),
                                      element);
            }
            for (const OpenElement& element : above) {
                stack.push(element);
            }
        }
        expectSameAnswers(stack, walked, nextNode);
        if (testing::Test::HasFatalFailure()) {
            FAIL() << "after step " << step;
        }
    }
}

}  // namespace
}  // namespace veltrano::html::parser
