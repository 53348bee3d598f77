#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/html/css/css_parser.h"
#include "platform/html/css/declared_value.h"
#include "platform/html/css/rule_index.h"
#include "platform/html/css/selector.h"
#include "platform/html/css/selector_parser.h"

namespace veltrano::html::css {

// A style sheet's text, decoded, and where it is: the location relative URLs in it (its
// @imports) start from. What a location is, is the resolver's business.
struct StyleSheetSource {
    std::string text;
    std::string location;
};

// Finds the style sheet an @import names: url as written, from the importing sheet's location.
// Nothing when there is no such sheet (or none that may be read).
using ImportResolver =
    std::function<std::optional<StyleSheetSource>(std::string_view url, std::string_view from)>;

// A style rule reduced to one selector and the declarations rendered text depends on.
// Declarations are numbered in their order of appearance across all sheets.
struct StyleRule {
    std::uint32_t selector = 0;  // complex selector number
    std::uint32_t declarationBegin = 0;
    std::uint32_t declarationEnd = 0;
    std::uint32_t layer = 0;  // cascade layer number; 0 is outside every layer
};

// The author style sheets of a document, compiled for the cascade: their style rules, in
// order, with @media answered for a screen, @supports for what is surely supported, @import
// followed through the resolver, cascade layers ranked, nesting resolved, and @container,
// @scope and unknown at-rules left out. Rules without a declaration that matters to rendered text
// are dropped at once, so that thousands of rules about colours and fonts cost no matching.
class RuleSet final {
public:
    // Imports nested deeper than this, or more than kMaximumImports in all, are not read.
    static constexpr int kMaximumImportDepth = 16;
    static constexpr int kMaximumImports = 256;

    RuleSet();

    // Adds a sheet's rules after those added before (sheets go in document order).
    void addStyleSheet(const StyleSheetSource& sheet, const ImportResolver& resolveImport);

    // Ranks the cascade layers; call after the last sheet, before the cascade.
    void finish();

    bool empty() const { return mRules.empty(); }
    // Whether a rule looks at later siblings (:last-child, :nth-last-child()...).
    bool looksForward() const { return mLooksForward; }
    // Whether an element rule's subject depends on where the element is among its siblings
    // (:nth-child(), "+", "~", :empty...): if none does, elements alike with one parent share
    // their cascaded values.
    bool subjectsDependOnSiblings() const { return mSubjectsDependOnSiblings; }

    const SelectorSet& selectors() const { return mSelectors; }
    const StyleRule& rule(std::uint32_t number) const { return mRules[number]; }
    const DeclaredValue& declaration(std::uint32_t number) const { return mDeclarations[number]; }
    const GeneratedContent& content(std::uint32_t number) const { return mContents[number]; }
    // Higher ranks win among normal declarations: later layers over earlier ones, a layer's
    // own rules over its sublayers', rules outside layers over all.
    std::uint32_t layerRank(std::uint32_t layer) const { return mLayerRanks[layer]; }
    std::uint32_t highestLayerRank() const { return mLayerRanks[0]; }
    const RuleIndex& elementRules() const { return mElementRules; }
    const RuleIndex& pseudoElementRules() const { return mPseudoElementRules; }

private:
    struct Layer {
        std::uint32_t parent = 0;
        std::string name;  // empty for an anonymous layer
        std::vector<std::uint32_t> children;
    };

    // What the rules being compiled are inside of.
    struct Context {
        const StyleSheetSyntax* sheet = nullptr;
        const NamespaceRules* namespaces = nullptr;
        std::string_view location;
        std::uint32_t layer = 0;
        const SelectorList* parent = nullptr;  // of the style rule around a nested rule
        int importDepth = 0;
    };

    void compileSheet(const StyleSheetSource& sheet, std::uint32_t layer, int importDepth,
                      const ImportResolver& resolveImport);
    void compileTopLevel(const std::vector<Rule>& rules, const Context& context,
                         const ImportResolver& resolveImport, NamespaceRules& namespaces);
    void compileGroupRule(const Rule& rule, const Context& context);
    void compileStyleRule(const Rule& rule, const Context& context);
    void compileNestedRules(const std::vector<Rule>& rules, const Context& context);
    bool compileLayerRule(const Rule& rule, const Context& context, std::uint32_t& layer);
    void compileImport(const Rule& rule, const Context& context,
                       const ImportResolver& resolveImport);
    void addNamespace(const Rule& rule, const Context& context, NamespaceRules& namespaces);
    void addRules(const SelectorList& selectors, const std::vector<Declaration>& declarations,
                  const Context& context);
    std::uint32_t nestingSelector(const SelectorList& parent);
    std::optional<std::vector<std::string>> layerNames(const ComponentValues& values,
                                                       ValueRange range) const;
    std::uint32_t layerNamed(std::uint32_t parent, const std::string& dottedName);
    std::uint32_t anonymousLayer(std::uint32_t parent);

    SelectorSet mSelectors;
    std::vector<StyleRule> mRules;
    std::vector<DeclaredValue> mDeclarations;
    std::vector<GeneratedContent> mContents;
    std::vector<Layer> mLayers;
    std::vector<std::uint32_t> mLayerRanks;
    RuleIndex mElementRules;
    RuleIndex mPseudoElementRules;
    int mImports = 0;
    bool mLooksForward = false;
    bool mSubjectsDependOnSiblings = false;
};

}  // namespace veltrano::html::css
