#include "platform/html/css/cascade.h"

#include <tuple>

#include "platform/html/css/css_parser.h"

namespace veltrano::html::css {

namespace {

// For each property the best candidate; revert-layer passes over the candidates of its own
// layer (and importance) to the next best one.
void decide(const std::vector<CascadeCandidate>& candidates, CascadedValues& out) {
    for (std::size_t p = 0; p < kPropertyCount; ++p) {
        const auto property = static_cast<Property>(p);
        std::optional<DeclaredValue>& result = out.values[p];
        result.reset();
        const CascadeCandidate* excluded = nullptr;
        while (true) {
            const CascadeCandidate* best = nullptr;
            for (const CascadeCandidate& candidate : candidates) {
                if (candidate.value->property != property) {
                    continue;
                }
                if (excluded != nullptr && ((candidate.layer == excluded->layer &&
                                             candidate.important == excluded->important &&
                                             candidate.attached == excluded->attached) ||
                                            !excluded->beats(candidate))) {
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

// The declared values of a style attribute, content aside (an element's own content property
// does not change its text).
void addAttributeCandidates(std::string_view text, std::vector<DeclaredValue>& values,
                            std::vector<CascadeCandidate>& candidates) {
    const DeclarationListSyntax syntax = parseDeclarationList(text);
    std::vector<GeneratedContent> contents;
    values.clear();
    for (const Declaration& declaration : syntax.declarations) {
        addDeclaredValues(declaration, syntax.values, values, contents);
    }
    std::uint32_t order = 0;
    for (const DeclaredValue& value : values) {
        if (value.property != Property::Content) {
            candidates.push_back({&value, 0, value.important, true, 0, 0, order++});
        }
    }
}

}  // namespace

CascadedValues cascadeStyleAttribute(std::string_view declarations) {
    std::vector<DeclaredValue> values;
    std::vector<CascadeCandidate> candidates;
    addAttributeCandidates(declarations, values, candidates);
    CascadedValues result;
    decide(candidates, result);
    return result;
}

bool CascadeCandidate::beats(const CascadeCandidate& other) const {
    return std::tie(important, attached, layerKey, specificity, order) >
           std::tie(other.important, other.attached, other.layerKey, other.specificity,
                    other.order);
}

Cascade::Cascade(const RuleSet& rules, const parser::NodeTree& tree, bool quirksMode)
    : mRules(rules), mTree(tree), mMatcher(rules.selectors(), tree, quirksMode) {}

void Cascade::childrenReleased(parser::NodeId element) {
    mResultElement = parser::kNoNode;
    mAncestors.forgetBelow(element);
    mMatcher.forgetPositionsBelow(element);
}

const CascadedValues& Cascade::element(parser::NodeId element) {
    if (element == mResultElement) {
        return mResult;
    }
    if (mResultElement != parser::kNoNode && sharesValuesWith(element, mResultElement)) {
        mResultElement = element;
        return mResult;
    }
    mResultElement = element;
    mCandidates.clear();
    mAncestors.build(mTree, element);
    mRules.elementRules().forEachCandidate(mTree, element, mAncestors, [&](std::uint32_t rule) {
        addRule(rule, element, PseudoElement::None);
    });
    addStyleAttribute(element);
    decide(mCandidates, mResult);
    return mResult;
}

const CascadedValues& Cascade::pseudoElement(parser::NodeId element, PseudoElement which) {
    mCandidates.clear();
    if (!mRules.pseudoElementRules().hasCandidates(mTree, element)) {
        decide(mCandidates, mPseudoResult);
        return mPseudoResult;
    }
    mAncestors.build(mTree, element);
    mRules.pseudoElementRules().forEachCandidate(
        mTree, element, mAncestors, [&](std::uint32_t rule) { addRule(rule, element, which); });
    decide(mCandidates, mPseudoResult);
    return mPseudoResult;
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

// Style sharing, as browsers do it for the cells of a row: the element next to the one whose
// values were last worked out gets the same when nothing about it can differ.
bool Cascade::sharesValuesWith(parser::NodeId element, parser::NodeId earlier) const {
    if (mRules.subjectsDependOnSiblings()) {
        return false;
    }
    parser::NodeId previous = mTree[element].previousSibling;
    while (previous != parser::kNoNode && mTree[previous].kind != parser::NodeKind::Element) {
        previous = mTree[previous].previousSibling;
    }
    if (previous != earlier || mTree[element].name != mTree[earlier].name ||
        mTree[element].ns != mTree[earlier].ns) {
        return false;
    }
    const auto mine = mTree.attributes(element);
    const auto theirs = mTree.attributes(earlier);
    if (mine.size() != theirs.size()) {
        return false;
    }
    for (std::size_t i = 0; i < mine.size(); ++i) {
        if (mine[i].name != theirs[i].name || mine[i].ns != theirs[i].ns ||
            mTree.text().view(mine[i].value) != mTree.text().view(theirs[i].value)) {
            return false;
        }
    }
    return true;
}

// The style attribute is parsed again each time: it is short, and keeping every element's
// parsed attribute would cost more than reading it.
void Cascade::addStyleAttribute(parser::NodeId element) {
    if (const auto text = mTree.attribute(element, parser::nameId(parser::KnownName::Style))) {
        addAttributeCandidates(*text, mAttributeValues, mCandidates);
    }
}

}  // namespace veltrano::html::css
