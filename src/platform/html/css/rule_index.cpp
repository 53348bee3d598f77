#include "platform/html/css/rule_index.h"

#include "platform/html/ascii_case.h"

namespace veltrano::html::css {
void RuleIndex::add(const SelectorSet& selectors, std::uint32_t complex, std::uint32_t rule) {
    ++mCount;
    Entry entry{rule, 0, {}};
    entry.hashCount = static_cast<std::uint32_t>(
        AncestorFilter::requiredHashes(selectors, complex, entry.hashes));
    const Compound& subject = selectors.compounds[selectors.complexes[complex].compoundBegin];
    const SimpleSelector* byClass = nullptr;
    const SimpleSelector* byTag = nullptr;
    for (std::uint32_t i = subject.simpleBegin; i < subject.simpleEnd; ++i) {
        const SimpleSelector& simple = selectors.simples[i];
        if (simple.kind == SimpleKind::Id) {
            mIds[asciiLowered(selectors.texts[simple.text])].push_back(entry);
            return;
        }
        if (simple.kind == SimpleKind::Class && byClass == nullptr) {
            byClass = &simple;
        } else if (simple.kind == SimpleKind::Type && byTag == nullptr) {
            byTag = &simple;
        }
    }
    if (byClass != nullptr) {
        mClasses[asciiLowered(selectors.texts[byClass->text])].push_back(entry);
    } else if (byTag != nullptr) {
        mTags[selectors.names[byTag->name].lower].push_back(entry);
    } else {
        mUniversal.push_back(entry);
    }
}

namespace {

// Marks a name whose tag group has not been looked up yet.
const std::vector<RuleIndex::Entry> kUnknownGroup;

}  // namespace

const std::vector<RuleIndex::Entry>* RuleIndex::tagRules(const parser::NodeTree& tree,
                                                         parser::NodeId element) const {
    if (mTags.empty()) {
        return nullptr;
    }
    const parser::NameId name = tree[element].name;
    if (name >= mTagGroups.size()) {
        mTagGroups.resize(name + 1u, &kUnknownGroup);
    }
    if (mTagGroups[name] == &kUnknownGroup) {
        mKey.assign(tree.nameText(name));
        for (char& c : mKey) {
            c = asciiLower(c);
        }
        const auto found = mTags.find(mKey);
        mTagGroups[name] = found == mTags.end() ? nullptr : &found->second;
    }
    return mTagGroups[name];
}

bool RuleIndex::hasCandidates(const parser::NodeTree& tree, parser::NodeId element) const {
    if (!mUniversal.empty() || tagRules(tree, element) != nullptr) {
        return true;
    }
    bool found = false;
    const auto visitAll = [&](const std::vector<Entry>&) { found = true; };
    if (!mIds.empty()) {
        if (const auto id = tree.attribute(element, parser::nameId(parser::KnownName::Id))) {
            visitKey(mIds, *id, visitAll);
        }
    }
    if (!found && !mClasses.empty()) {
        if (const auto classes =
                tree.attribute(element, parser::nameId(parser::KnownName::Class))) {
            forEachClass(*classes,
                         [&](std::string_view name) { visitKey(mClasses, name, visitAll); });
        }
    }
    return found;
}

}  // namespace veltrano::html::css
