#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/html/css/ancestor_filter.h"
#include "platform/html/css/declared_value.h"
#include "platform/html/css/rule_set.h"
#include "platform/html/css/selector_matcher.h"
#include "platform/html/parser/node_tree.h"

namespace veltrano::html::css {

// A declared value as the cascade sorts it.
struct CascadeCandidate {
    const DeclaredValue* value;
    std::uint32_t layer;
    // Compared as a whole: importance, the style attribute, layer, specificity, order.
    bool important;
    bool attached;
    std::uint32_t layerKey;
    Specificity specificity;
    std::uint32_t order;  // declarations are numbered in order of appearance

    bool beats(const CascadeCandidate& other) const;
};

// The value that wins the cascade for each property, if an author gave one. Revert stands for
// the user agent's value (revert-layer has been resolved to what it reverts to).
struct CascadedValues {
    std::array<std::optional<DeclaredValue>, kPropertyCount> values;

    const std::optional<DeclaredValue>& operator[](Property property) const {
        return values[static_cast<std::size_t>(property)];
    }
    bool empty() const {
        for (const auto& value : values) {
            if (value) {
                return false;
            }
        }
        return true;
    }
};

// The values of a style attribute alone, for elements of documents without style sheets.
CascadedValues cascadeStyleAttribute(std::string_view declarations);

// A cascade remembers what it worked out about an element's ancestors and siblings for the
// next element: call childrenReleased() when the nodes below an element have been let go
// (their numbers may be reused).
//
// Author declarations sorted as CSS Cascading and Inheritance says: importance, then the style
// attribute over rules, then cascade layers (reversed for !important), then specificity, then
// order of appearance. The user agent's defaults are not here: they are what an element has
// when no value wins.
class Cascade final {
public:
    Cascade(const RuleSet& rules, const parser::NodeTree& tree, bool quirksMode);

    // An element's values from the style sheets and its style attribute. Valid until the next
    // call.
    const CascadedValues& element(parser::NodeId element);
    // Those of its ::before or ::after, from the style sheets.
    const CascadedValues& pseudoElement(parser::NodeId element, PseudoElement which);

    void childrenReleased(parser::NodeId element);

    // Whether any rule styles ::before or ::after (if none, asking is not worth it).
    bool hasPseudoElementRules() const { return !mRules.pseudoElementRules().empty(); }
    // Whether the element may have a ::before or ::after: some rule for them is filed where it
    // would look.
    bool hasPseudoElementContent(parser::NodeId element) const {
        return mRules.pseudoElementRules().hasCandidates(mTree, element);
    }
    const GeneratedContent& content(const DeclaredValue& value) const {
        return mRules.content(value.content);
    }

private:
    void addRule(std::uint32_t ruleNumber, parser::NodeId element, PseudoElement which);
    void addStyleAttribute(parser::NodeId element);
    bool sharesValuesWith(parser::NodeId element, parser::NodeId earlier) const;

    const RuleSet& mRules;
    const parser::NodeTree& mTree;
    SelectorMatcher mMatcher;
    AncestorFilter mAncestors;
    std::vector<CascadeCandidate> mCandidates;
    std::vector<DeclaredValue> mAttributeValues;
    CascadedValues mResult;
    parser::NodeId mResultElement = parser::kNoNode;  // whose values mResult holds
    CascadedValues mPseudoResult;
};

}  // namespace veltrano::html::css
