// The list of active formatting elements answers from indexes what the HTML Standard finds by
// walking the list, and applies the Noah's Ark clause by following links between equal
// entries. These tests keep a plain copy of the list, apply the HTML Standard's wording to it,
// and compare after every step of long random sequences.

#include "platform/html/parser/active_formatting_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace veltrano::html::parser {
namespace {

constexpr NameId kNames = 3;

struct PlainEntry {
    NodeId node = kNoNode;  // kNoNode: a marker
    NameId name = 0;
    std::vector<Attribute> attributes;
};

class ListsUnderTest {
public:
    ListsUnderTest() : mList(mText) {
        // Two copies of each value at different places, so that equal attributes are equal
        // by their text, not by where it lies.
        mText.input() = "redbluered";
    }

    // Attribute sets drawn from a few names and values, in either order.
    std::vector<Attribute> randomAttributes(std::mt19937& random) {
        const TextRef values[] = {{0, 3}, {3, 4}, {7, 3}};  // "red", "blue", "red"
        std::vector<Attribute> attributes;
        const unsigned count = random() % 3;
        for (unsigned i = 0; i < count; ++i) {
            const auto name = static_cast<NameId>(10 + i);
            attributes.push_back({name, AttributeNamespace::None, values[random() % 3]});
        }
        if (random() % 2 == 0) {
            std::reverse(attributes.begin(), attributes.end());
        }
        return attributes;
    }

    std::string text(const Attribute& attribute) const {
        return std::string(mText.view(attribute.value));
    }

    bool sameAttributes(const PlainEntry& a, const PlainEntry& b) const {
        const auto keys = [&](const PlainEntry& entry) {
            std::vector<std::tuple<NameId, std::string>> result;
            for (const Attribute& attribute : entry.attributes) {
                result.emplace_back(attribute.name, text(attribute));
            }
            std::sort(result.begin(), result.end());
            return result;
        };
        return keys(a) == keys(b);
    }

    std::ptrdiff_t lastMarker() const {
        for (std::size_t i = mPlain.size(); i-- > 0;) {
            if (mPlain[i].node == kNoNode) {
                return static_cast<std::ptrdiff_t>(i);
            }
        }
        return -1;
    }

    // "Push onto the list of active formatting elements", as the HTML Standard words it.
    void pushElement(NodeId node, NameId name, std::vector<Attribute> attributes) {
        PlainEntry entry{node, name, std::move(attributes)};
        std::vector<std::size_t> equal;
        for (std::size_t i = static_cast<std::size_t>(lastMarker() + 1); i < mPlain.size(); ++i) {
            if (mPlain[i].node != kNoNode && mPlain[i].name == name &&
                sameAttributes(mPlain[i], entry)) {
                equal.push_back(i);
            }
        }
        if (equal.size() >= 3) {
            mPlain.erase(mPlain.begin() + static_cast<std::ptrdiff_t>(equal.front()));
        }
        mList.pushElement(entry.node, entry.name, entry.attributes);
        mPlain.push_back(std::move(entry));
    }

    void pushMarker() {
        mList.pushMarker();
        mPlain.push_back({});
    }

    void clearToLastMarker() {
        mList.clearToLastMarker();
        while (!mPlain.empty()) {
            const bool marker = mPlain.back().node == kNoNode;
            mPlain.pop_back();
            if (marker) {
                break;
            }
        }
    }

    void remove(std::size_t index) {
        mList.remove(index);
        mPlain.erase(mPlain.begin() + static_cast<std::ptrdiff_t>(index));
    }

    void insertCopy(std::size_t index, std::size_t of, NodeId node) {
        FormattingEntry copy = mList[of];
        copy.node = node;
        mList.insert(index, copy);
        PlainEntry plain = mPlain[of];
        plain.node = node;
        mPlain.insert(mPlain.begin() + static_cast<std::ptrdiff_t>(index), plain);
    }

    void replaceNode(std::size_t index, NodeId node) {
        mList.replaceNode(index, node);
        mPlain[index].node = node;
    }

    std::size_t size() const { return mPlain.size(); }
    bool isMarker(std::size_t index) const { return mPlain[index].node == kNoNode; }

    // Checks indexOf for the nodes from firstNode on.
    void expectSameAnswers(NodeId firstNode, NodeId nodeCount) const {
        ASSERT_EQ(mList.size(), mPlain.size());
        for (std::size_t i = 0; i < mPlain.size(); ++i) {
            ASSERT_EQ(mList[i].node, mPlain[i].node) << "entry " << i;
            ASSERT_EQ(mList[i].name, mPlain[i].name) << "entry " << i;
        }
        for (NameId name = 1; name <= kNames; ++name) {
            std::ptrdiff_t expected = ActiveFormattingList::kNone;
            for (std::size_t i = mPlain.size(); i-- > 0;) {
                if (mPlain[i].node == kNoNode) {
                    break;
                }
                if (mPlain[i].name == name) {
                    expected = static_cast<std::ptrdiff_t>(i);
                    break;
                }
            }
            ASSERT_EQ(mList.lastAfterMarker(name), expected) << "name " << name;
        }
        for (NodeId node = firstNode; node < nodeCount; ++node) {
            std::ptrdiff_t expected = ActiveFormattingList::kNone;
            for (std::size_t i = 0; i < mPlain.size(); ++i) {
                if (mPlain[i].node == node) {
                    expected = static_cast<std::ptrdiff_t>(i);
                }
            }
            ASSERT_EQ(mList.indexOf(node), expected) << "node " << node;
        }
    }

private:
    TextStore mText;
    ActiveFormattingList mList;
    std::vector<PlainEntry> mPlain;
};

TEST(ActiveFormattingList, AnswersAndAppliesNoahsArkAsTheHtmlStandardWordsThem) {
    std::mt19937 random(7);
    ListsUnderTest lists;
    NodeId nextNode = 1;
    for (int step = 0; step < 20000; ++step) {
        const unsigned action = random() % 20;
        if (action < 11 || lists.size() == 0) {
            lists.pushElement(nextNode++, static_cast<NameId>(1 + random() % kNames),
                              lists.randomAttributes(random));
        } else if (action < 13) {
            lists.pushMarker();
        } else if (action < 15) {
            lists.clearToLastMarker();
        } else if (action < 17) {
            lists.remove(random() % lists.size());
        } else if (action < 18) {
            const std::size_t of = random() % lists.size();
            if (!lists.isMarker(of)) {
                lists.insertCopy(random() % (lists.size() + 1), of, nextNode++);
            }
        } else {
            const std::size_t index = random() % lists.size();
            if (!lists.isMarker(index)) {
                lists.replaceNode(index, random() % 4 == 0 ? kReleasedNode : nextNode++);
            }
        }
        // Every node now and then, the recent ones (which the edits touch) every time.
        const NodeId recent = nextNode > 64 ? nextNode - 64 : 1;
        lists.expectSameAnswers(step % 500 == 0 ? 1 : recent, nextNode);
        if (testing::Test::HasFatalFailure()) {
            FAIL() << "after step " << step;
        }
    }
}

}  // namespace
}  // namespace veltrano::html::parser
