#include "platform/html/css/cascade.h"

#include <tuple>

#include "platform/html/css/css_parser.h"

namespace veltrano::html::css {

bool Cascade::Candidate::beats(const Candidate& other) const {
    return std::tie(important, attached, layerKey, specificity, order) >
           std::tie(other.important, other.attached, other.layerKey, other.specificity,
                    other.order);
}

Cascade::Cascade(const RuleSet& rules, const parser::NodeTree& tree, bool quirksMode)
    : mRules(rules), mTree(tree), mMatcher(rules.selectors(), tree, quirksMode) {}

const CascadedValues& Cascade::element(parser::NodeId element) {
    mCandidates.clear();
    mRules.elementRules().forEachCandidate(
        mTree, element, [&](std::uint32_t rule) { addRule(rule, element, PseudoElement::None); });
    addStyleAttribute(element);
    decide();
    return mResult;
}

const CascadedValues& Cascade::pseudoElement(parser::NodeId element, PseudoElement which) {
    mCandidates.clear();
    mRules.pseudoElementRules().forEachCandidate(
        mTree, element, [&](std::uint32_t rule) { addRule(rule, element, which); });
    decide();
    return mResult;
}

void Cascade::addRule(std::uint32_t ruleNumber, parser::NodeId element, PseudoElement which) {
    const StyleRule& rule = mRules.rule(ruleNumber);
    const ComplexSelector& selector = mRules.selectors().complexes[rule.selector];
    if (selector.pseudoElement != which || !mMatcher.matches(rule.selector, element)) {
        return;
    }
    const std::uint32_t rank = mRules.layerRank(rule.layer);
    for (std::uint32_t i = rule.declarationBegin; i < rule.declarationEnd; ++i) {
        const DeclaredValue& value = mRules.declaration(i);
        mCandidates.push_back({&value, rule.layer, value.important, false,
                               value.important ? mRules.highestLayerRank() - rank : rank,
                               selector.specificity, i});
    }
}

// The style attribute is parsed again each time: it is short, and keeping every element's
// parsed attribute would cost more than reading it.
void Cascade::addStyleAttribute(parser::NodeId element) {
    const auto text = mTree.attribute(element, parser::nameId(parser::KnownName::Style));
    if (!text) {
        return;
    }
    const DeclarationListSyntax syntax = parseDeclarationList(*text);
    mAttributeValues.clear();
    mAttributeContents.clear();
    for (const Declaration& declaration : syntax.declarations) {
        addDeclaredValues(declaration, syntax.values, mAttributeValues, mAttributeContents);
    }
    std::uint32_t order = 0;
    for (const DeclaredValue& value : mAttributeValues) {
        if (value.property != Property::Content) {
            mCandidates.push_back({&value, 0, value.important, true, 0, 0, order++});
        }
    }
}

// For each property the best candidate; revert-layer passes over the candidates of its own
// layer (and importance) to the next best one.
void Cascade::decide() {
    for (std::size_t p = 0; p < kPropertyCount; ++p) {
        const auto property = static_cast<Property>(p);
        std::optional<DeclaredValue>& result = mResult.values[p];
        result.reset();
        const Candidate* excluded = nullptr;
        while (true) {
            const Candidate* best = nullptr;
            for (const Candidate& candidate : mCandidates) {
                if (candidate.value->property != property) {
                    continue;
                }
                if (excluded != nullptr && (candidate.layer == excluded->layer &&
                                            candidate.important == excluded->important &&
                                            candidate.attached == excluded->attached)) {
                    continue;
                }
                if (excluded != nullptr && !excluded->beats(candidate)) {
                    continue;
                }
                if (best == nullptr || candidate.beats(*best)) {
                    best = &candidate;
                }
            }
            if (best == nullptr) {
                break;
            }
            if (best->value->wide == WideKeyword::RevertLayer) {
                excluded = best;
                continue;
            }
            result = *best->value;
            break;
        }
    }
}

}  // namespace veltrano::html::css
