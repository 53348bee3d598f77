#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/html/css/selector.h"
#include "platform/html/parser/node_tree.h"

namespace veltrano::html::css {

// Style rules grouped by what their subject compound requires most selectively: an id, else a
// class, else a tag; the rest in one universal group. An element is matched only against the
// groups of its id, its classes and its tag and the universal group. Ids and classes are kept
// in ASCII lower case, so that one index serves quirks mode too; the selector still decides.
class RuleIndex final {
public:
    void add(const SelectorSet& selectors, std::uint32_t complex, std::uint32_t rule);

    // Calls visit(rule) for every rule that may match the element, each once, in no particular
    // order.
    template <class Visit>
    void forEachCandidate(const parser::NodeTree& tree, parser::NodeId element,
                          Visit&& visit) const {
        for (const std::uint32_t rule : mUniversal) {
            visit(rule);
        }
        if (const auto* rules = tagRules(tree, element)) {
            for (const std::uint32_t rule : *rules) {
                visit(rule);
            }
        }
        if (!mIds.empty()) {
            if (const auto id = tree.attribute(element, parser::nameId(parser::KnownName::Id))) {
                visitKey(mIds, *id, visit);
            }
        }
        if (!mClasses.empty()) {
            if (const auto classes =
                    tree.attribute(element, parser::nameId(parser::KnownName::Class))) {
                forEachClass(*classes,
                             [&](std::string_view name) { visitKey(mClasses, name, visit); });
            }
        }
    }

    bool empty() const { return mCount == 0; }

private:
    using Buckets = std::unordered_map<std::string, std::vector<std::uint32_t>>;

    template <class Visit>
    void visitKey(const Buckets& buckets, std::string_view key, Visit& visit) const {
        mKey.assign(key);
        for (char& c : mKey) {
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
        }
        if (const auto found = buckets.find(mKey); found != buckets.end()) {
            for (const std::uint32_t rule : found->second) {
                visit(rule);
            }
        }
    }

    // Each distinct class once: a rule keyed by a class must not be visited twice.
    template <class Visit>
    void forEachClass(std::string_view list, Visit&& visit) const {
        mSeenClasses.clear();
        std::size_t i = 0;
        while (i < list.size()) {
            while (i < list.size() && isSpace(list[i])) {
                ++i;
            }
            const std::size_t start = i;
            while (i < list.size() && !isSpace(list[i])) {
                ++i;
            }
            if (i > start) {
                std::string name(list.substr(start, i - start));
                for (char& c : name) {
                    c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
                }
                bool seen = false;
                for (const std::string& other : mSeenClasses) {
                    seen = seen || other == name;
                }
                if (!seen) {
                    visit(name);
                    mSeenClasses.push_back(std::move(name));
                }
            }
        }
    }

    static bool isSpace(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
    }

    const std::vector<std::uint32_t>* tagRules(const parser::NodeTree& tree,
                                               parser::NodeId element) const;

    Buckets mIds;
    Buckets mClasses;
    Buckets mTags;  // by lower-case local name
    std::vector<std::uint32_t> mUniversal;
    std::size_t mCount = 0;
    mutable std::string mKey;
    mutable std::vector<std::string> mSeenClasses;
};

}  // namespace veltrano::html::css
