#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/html/ascii_case.h"
#include "platform/html/css/ancestor_filter.h"
#include "platform/html/css/selector.h"
#include "platform/html/parser/node_tree.h"

namespace veltrano::html::css {

// Style rules grouped by what their subject compound requires most selectively: an id, else a
// class, else a tag; the rest in one universal group. An element is matched only against the
// groups of its id, its classes and its tag and the universal group, and only against the
// rules whose required ancestors its ancestor filter may hold. Ids and classes are kept in
// ASCII lower case, so that one index serves quirks mode too; the selector still decides.
class RuleIndex final {
public:
    // A rule with what it requires of ancestors, kept together for a quick turn-down.
    struct Entry {
        std::uint32_t rule;
        std::uint32_t hashCount;
        std::array<std::uint32_t, AncestorFilter::kMostHashes> hashes;
    };

    void add(const SelectorSet& selectors, std::uint32_t complex, std::uint32_t rule);

    // Calls visit(rule) for every rule that may match the element, each once, in no particular
    // order.
    template <class Visit>
    void forEachCandidate(const parser::NodeTree& tree, parser::NodeId element,
                          const AncestorFilter& ancestors, Visit&& visit) const {
        const auto visitAll = [&](const std::vector<Entry>& entries) {
            for (const Entry& entry : entries) {
                if (ancestors.mayHave(entry.hashes.data(), entry.hashCount)) {
                    visit(entry.rule);
                }
            }
        };
        visitAll(mUniversal);
        if (const auto* rules = tagRules(tree, element)) {
            visitAll(*rules);
        }
        if (!mIds.empty()) {
            if (const auto id = tree.attribute(element, parser::nameId(parser::KnownName::Id))) {
                visitKey(mIds, *id, visitAll);
            }
        }
        if (!mClasses.empty()) {
            if (const auto classes =
                    tree.attribute(element, parser::nameId(parser::KnownName::Class))) {
                forEachClass(*classes,
                             [&](std::string_view name) { visitKey(mClasses, name, visitAll); });
            }
        }
    }

    // Whether any rule is filed where the element would look (before its ancestors are asked).
    bool hasCandidates(const parser::NodeTree& tree, parser::NodeId element) const;

    bool empty() const { return mCount == 0; }

private:
    using Buckets = std::unordered_map<std::string, std::vector<Entry>>;

    template <class VisitAll>
    void visitKey(const Buckets& buckets, std::string_view key, VisitAll& visitAll) const {
        mKey.assign(key);
        for (char& c : mKey) {
            c = asciiLower(c);
        }
        if (const auto found = buckets.find(mKey); found != buckets.end()) {
            visitAll(found->second);
        }
    }

    // Each distinct class once: a rule keyed by a class must not be visited twice.
    template <class Visit>
    void forEachClass(std::string_view list, Visit&& visit) const {
        mSeenClasses.clear();
        forEachAsciiToken(list, [&](std::string_view token) {
            std::string name = asciiLowered(token);
            for (const std::string& other : mSeenClasses) {
                if (other == name) {
                    return;
                }
            }
            visit(name);
            mSeenClasses.push_back(std::move(name));
        });
    }

    const std::vector<Entry>* tagRules(const parser::NodeTree& tree, parser::NodeId element) const;

    Buckets mIds;
    Buckets mClasses;
    Buckets mTags;  // by lower-case local name
    std::vector<Entry> mUniversal;
    std::size_t mCount = 0;
    mutable std::string mKey;
    // The tag group of each element name met so far (names are numbered per tree: an index
    // serves one tree at a time); kUnknown where not looked up yet.
    mutable std::vector<const std::vector<Entry>*> mTagGroups;
    mutable std::vector<std::string> mSeenClasses;
};

}  // namespace veltrano::html::css
