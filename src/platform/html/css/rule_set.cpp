#include "platform/html/css/rule_set.h"

#include <algorithm>
#include <utility>

#include "platform/html/ascii_case.h"
#include "platform/html/css/media_query.h"
#include "platform/html/css/supports_condition.h"

namespace veltrano::html::css {
namespace {

bool isToken(const ComponentValues& values, std::uint32_t index, TokenType type) {
    return !values[index].hasContents() && values[index].token.is(type);
}

// A string, url token or url("...") function: the URL it holds.
std::optional<std::string> urlOf(const ComponentValues& values, std::uint32_t index) {
    const ComponentValue& value = values[index];
    if (!value.hasContents() &&
        (value.token.is(TokenType::String) || value.token.is(TokenType::Url))) {
        return value.token.value;
    }
    if (value.isFunction() && equalsIgnoringAsciiCase(value.token.value, "url")) {
        const std::vector<std::uint32_t> inside =
            significantValues(values, contentsOf(values, index));
        if (inside.size() == 1 && isToken(values, inside[0], TokenType::String)) {
            return values[inside[0]].token.value;
        }
    }
    return std::nullopt;
}

// Whether two elements alike (same name and attributes) under one parent may differ in matching
// the selector: its subject compound asks about position, siblings or content, or holds a
// selector list that might.
bool subjectDependsOnSiblings(const SelectorSet& selectors, const ComplexSelector& selector) {
    const Compound& subject = selectors.compounds[selector.compoundBegin];
    if (selector.compoundEnd - selector.compoundBegin > 1 &&
        (subject.toLeft == Combinator::NextSibling ||
         subject.toLeft == Combinator::SubsequentSibling)) {
        return true;
    }
    for (std::uint32_t i = subject.simpleBegin; i < subject.simpleEnd; ++i) {
        switch (selectors.simples[i].kind) {
            case SimpleKind::NthChild:
            case SimpleKind::NthLastChild:
            case SimpleKind::NthOfType:
            case SimpleKind::NthLastOfType:
            case SimpleKind::Empty:
            case SimpleKind::Is:
            case SimpleKind::Not:
                return true;
            default:
                break;
        }
    }
    return false;
}

}  // namespace

RuleSet::RuleSet() {
    mLayers.emplace_back();
}

void RuleSet::addStyleSheet(const StyleSheetSource& sheet, const ImportResolver& resolveImport) {
    compileSheet(sheet, 0, 0, resolveImport);
}

void RuleSet::compileSheet(const StyleSheetSource& sheet, std::uint32_t layer, int importDepth,
                           const ImportResolver& resolveImport) {
    const StyleSheetSyntax syntax = parseStyleSheet(sheet.text);
    NamespaceRules namespaces;
    Context context;
    context.sheet = &syntax;
    context.namespaces = &namespaces;
    context.location = sheet.location;
    context.layer = layer;
    context.importDepth = importDepth;
    compileTopLevel(syntax.rules, context, resolveImport, namespaces);
}

// @import and @namespace count only before every other rule but @charset, @layer statements
// and (for @namespace) @import.
void RuleSet::compileTopLevel(const std::vector<Rule>& rules, const Context& context,
                              const ImportResolver& resolveImport, NamespaceRules& namespaces) {
    bool importsAllowed = true;
    bool namespacesAllowed = true;
    for (const Rule& rule : rules) {
        if (rule.kind != RuleKind::At) {
            importsAllowed = namespacesAllowed = false;
            if (rule.kind == RuleKind::Qualified) {
                compileStyleRule(rule, context);
            }
            continue;
        }
        const std::string name = asciiLowered(rule.name);
        if (name == "charset") {
            continue;
        }
        if (name == "import") {
            if (importsAllowed && !rule.hasBlock) {
                compileImport(rule, context, resolveImport);
            }
            continue;
        }
        if (name == "namespace") {
            importsAllowed = false;
            if (namespacesAllowed && !rule.hasBlock) {
                addNamespace(rule, context, namespaces);
            }
            continue;
        }
        if (name == "layer" && !rule.hasBlock) {
            std::uint32_t ignored = 0;
            compileLayerRule(rule, context, ignored);
            continue;
        }
        importsAllowed = namespacesAllowed = false;
        compileGroupRule(rule, context);
    }
}

// Rules inside @media and @layer blocks at the top level (and top-level rules other than
// @import, @namespace and @charset): style rules and further group rules.
void RuleSet::compileGroupRule(const Rule& rule, const Context& context) {
    if (rule.kind == RuleKind::Qualified) {
        compileStyleRule(rule, context);
        return;
    }
    if (rule.kind != RuleKind::At || !rule.hasBlock) {
        return;
    }
    const std::string name = asciiLowered(rule.name);
    Context inner = context;
    if ((name == "media" && matchesMediaQueryList(context.sheet->values, rule.prelude)) ||
        (name == "supports" && supportsConditionHolds(context.sheet->values, rule.prelude)) ||
        (name == "layer" && compileLayerRule(rule, context, inner.layer))) {
        for (const Rule& child : rule.rules) {
            compileGroupRule(child, inner);
        }
    }
}

void RuleSet::compileStyleRule(const Rule& rule, const Context& context) {
    SelectorParser parser(mSelectors, context.sheet->values, *context.namespaces, context.parent);
    const std::optional<SelectorList> selectors = parser.parseSelectorList(rule.prelude);
    if (!selectors) {
        return;
    }
    addRules(*selectors, rule.declarations, context);
    Context inner = context;
    inner.parent = &*selectors;
    compileNestedRules(rule.rules, inner);
}

// The rules inside a style rule, and inside the group rules nested in one: style rules
// relative to the parent, declarations that apply as the parent's own, and group rules.
void RuleSet::compileNestedRules(const std::vector<Rule>& rules, const Context& context) {
    for (const Rule& rule : rules) {
        switch (rule.kind) {
            case RuleKind::Qualified:
                compileStyleRule(rule, context);
                break;
            case RuleKind::NestedDeclarations: {
                SelectorList nesting;
                nesting.begin = static_cast<std::uint32_t>(mSelectors.lists.size());
                mSelectors.lists.push_back(nestingSelector(*context.parent));
                nesting.end = nesting.begin + 1;
                addRules(nesting, rule.declarations, context);
                break;
            }
            case RuleKind::At: {
                if (!rule.hasBlock) {
                    break;
                }
                const std::string name = asciiLowered(rule.name);
                if (name == "media" || name == "supports") {
                    if (name == "media"
                            ? matchesMediaQueryList(context.sheet->values, rule.prelude)
                            : supportsConditionHolds(context.sheet->values, rule.prelude)) {
                        compileNestedRules(rule.rules, context);
                    }
                } else if (name == "layer") {
                    Context inner = context;
                    if (compileLayerRule(rule, context, inner.layer)) {
                        compileNestedRules(rule.rules, inner);
                    }
                }
                break;
            }
        }
    }
}

// A selector standing for the parent rule's selectors, as nested declarations have: matching
// any of them, with the specificity of the most specific.
std::uint32_t RuleSet::nestingSelector(const SelectorList& parent) {
    SimpleSelector simple;
    simple.kind = SimpleKind::Is;
    simple.listBegin = parent.begin;
    simple.listEnd = parent.end;
    Compound compound;
    compound.simpleBegin = static_cast<std::uint32_t>(mSelectors.simples.size());
    mSelectors.simples.push_back(simple);
    compound.simpleEnd = compound.simpleBegin + 1;
    ComplexSelector complex;
    complex.compoundBegin = static_cast<std::uint32_t>(mSelectors.compounds.size());
    mSelectors.compounds.push_back(compound);
    complex.compoundEnd = complex.compoundBegin + 1;
    for (std::uint32_t i = parent.begin; i < parent.end; ++i) {
        const ComplexSelector& member = mSelectors.complexes[mSelectors.lists[i]];
        complex.specificity = std::max(complex.specificity, member.specificity);
        complex.looksForward = complex.looksForward || member.looksForward;
    }
    mSelectors.complexes.push_back(complex);
    return static_cast<std::uint32_t>(mSelectors.complexes.size() - 1);
}

void RuleSet::addRules(const SelectorList& selectors, const std::vector<Declaration>& declarations,
                       const Context& context) {
    const auto begin = static_cast<std::uint32_t>(mDeclarations.size());
    for (const Declaration& declaration : declarations) {
        addDeclaredValues(declaration, context.sheet->values, mDeclarations, mContents);
    }
    const auto end = static_cast<std::uint32_t>(mDeclarations.size());
    if (begin == end) {
        return;
    }
    for (std::uint32_t i = selectors.begin; i < selectors.end; ++i) {
        const std::uint32_t complex = mSelectors.lists[i];
        const ComplexSelector& selector = mSelectors.complexes[complex];
        if (selector.pseudoElement == PseudoElement::Other) {
            continue;
        }
        const auto number = static_cast<std::uint32_t>(mRules.size());
        mRules.push_back({complex, begin, end, context.layer});
        mLooksForward = mLooksForward || selector.looksForward;
        if (selector.pseudoElement == PseudoElement::None && !mSubjectsDependOnSiblings) {
            mSubjectsDependOnSiblings = subjectDependsOnSiblings(mSelectors, selector);
        }
        (selector.pseudoElement == PseudoElement::None ? mElementRules : mPseudoElementRules)
            .add(mSelectors, complex, number);
    }
}

// "@layer a, b.c;" declares layers in order; "@layer name { }" or "@layer { }" opens one.
// Returns false when the prelude is not valid; layer is then left alone.
bool RuleSet::compileLayerRule(const Rule& rule, const Context& context, std::uint32_t& layer) {
    const std::optional<std::vector<std::string>> names =
        layerNames(context.sheet->values, rule.prelude);
    if (!names || (rule.hasBlock && names->size() > 1) || (!rule.hasBlock && names->empty())) {
        return false;
    }
    if (names->empty()) {
        layer = anonymousLayer(context.layer);
        return true;
    }
    for (const std::string& name : *names) {
        layer = layerNamed(context.layer, name);
    }
    return true;
}

// Comma-separated dotted names ("a", "b.c"); nothing when anything else is there.
std::optional<std::vector<std::string>> RuleSet::layerNames(const ComponentValues& values,
                                                            ValueRange range) const {
    std::vector<std::string> names;
    std::string current;
    bool expectName = true;
    for (std::uint32_t i = range.begin; i < range.end; i = values[i].end) {
        const ComponentValue& value = values[i];
        if (isToken(values, i, TokenType::Whitespace)) {
            if (!current.empty() && !expectName) {
                // White space may end a name, but not split one: "a .b" is no name.
                const std::uint32_t next = values[i].end;
                if (next < range.end && values[next].token.isDelim('.')) {
                    return std::nullopt;
                }
            }
            continue;
        }
        if (expectName && isToken(values, i, TokenType::Ident)) {
            const std::string word = asciiLowered(value.token.value);
            if (current.empty() &&
                (word == "initial" || word == "inherit" || word == "unset" || word == "revert" ||
                 word == "revert-layer" || word == "default")) {
                return std::nullopt;
            }
            current += value.token.value;
            expectName = false;
        } else if (!expectName && value.token.isDelim('.') && !value.hasContents()) {
            current += '.';
            expectName = true;
        } else if (!expectName && isToken(values, i, TokenType::Comma)) {
            names.push_back(std::move(current));
            current.clear();
            expectName = true;
        } else {
            return std::nullopt;
        }
    }
    if (!current.empty()) {
        if (expectName) {
            return std::nullopt;
        }
        names.push_back(std::move(current));
    } else if (!names.empty()) {
        return std::nullopt;  // a trailing comma
    }
    return names;
}

std::uint32_t RuleSet::layerNamed(std::uint32_t parent, const std::string& dottedName) {
    std::uint32_t layer = parent;
    std::size_t start = 0;
    while (start <= dottedName.size()) {
        std::size_t end = dottedName.find('.', start);
        end = end == std::string::npos ? dottedName.size() : end;
        const std::string part = dottedName.substr(start, end - start);
        std::uint32_t found = 0;
        for (const std::uint32_t child : mLayers[layer].children) {
            if (!mLayers[child].name.empty() && mLayers[child].name == part) {
                found = child;
            }
        }
        if (found == 0) {
            found = static_cast<std::uint32_t>(mLayers.size());
            mLayers.push_back({layer, part, {}});
            mLayers[layer].children.push_back(found);
        }
        layer = found;
        start = end + 1;
    }
    return layer;
}

std::uint32_t RuleSet::anonymousLayer(std::uint32_t parent) {
    const auto layer = static_cast<std::uint32_t>(mLayers.size());
    mLayers.push_back({parent, {}, {}});
    mLayers[parent].children.push_back(layer);
    return layer;
}

void RuleSet::addNamespace(const Rule& rule, const Context& context, NamespaceRules& namespaces) {
    const ComponentValues& values = context.sheet->values;
    const std::vector<std::uint32_t> items = significantValues(values, rule.prelude);
    if (items.size() == 1) {
        if (const auto url = urlOf(values, items[0])) {
            namespaces.defaultNamespace = namespaceForUrl(*url);
        }
    } else if (items.size() == 2 && isToken(values, items[0], TokenType::Ident)) {
        if (const auto url = urlOf(values, items[1])) {
            namespaces.prefixes[values[items[0]].token.value] = namespaceForUrl(*url);
        }
    }
}

// "@import url [layer | layer(name)] [supports(...)] [media queries];"
void RuleSet::compileImport(const Rule& rule, const Context& context,
                            const ImportResolver& resolveImport) {
    const ComponentValues& values = context.sheet->values;
    const std::vector<std::uint32_t> items = significantValues(values, rule.prelude);
    if (items.empty()) {
        return;
    }
    const std::optional<std::string> url = urlOf(values, items[0]);
    if (!url) {
        return;
    }
    std::size_t pos = 1;
    std::uint32_t layer = context.layer;
    if (pos < items.size() && isToken(values, items[pos], TokenType::Ident) &&
        equalsIgnoringAsciiCase(values[items[pos]].token.value, "layer")) {
        layer = anonymousLayer(context.layer);
        ++pos;
    } else if (pos < items.size() && values[items[pos]].isFunction() &&
               equalsIgnoringAsciiCase(values[items[pos]].token.value, "layer")) {
        const auto names = layerNames(values, contentsOf(values, items[pos]));
        if (!names || names->size() != 1) {
            return;
        }
        layer = layerNamed(context.layer, names->front());
        ++pos;
    }
    if (pos < items.size() && values[items[pos]].isFunction() &&
        equalsIgnoringAsciiCase(values[items[pos]].token.value, "supports")) {
        if (!importSupportsConditionHolds(values, contentsOf(values, items[pos]))) {
            return;
        }
        ++pos;
    }
    const ValueRange media{pos < items.size() ? items[pos] : rule.prelude.end, rule.prelude.end};
    if (!matchesMediaQueryList(values, media)) {
        return;
    }
    if (context.importDepth >= kMaximumImportDepth || mImports >= kMaximumImports) {
        return;
    }
    ++mImports;
    if (const std::optional<StyleSheetSource> imported = resolveImport(*url, context.location)) {
        compileSheet(*imported, layer, context.importDepth + 1, resolveImport);
    }
}

// Ranks layers by a walk that numbers each layer after its sublayers, so that the outermost
// (the rules outside any layer) ranks highest.
void RuleSet::finish() {
    mLayerRanks.assign(mLayers.size(), 0);
    std::uint32_t rank = 0;
    struct Step {
        std::uint32_t layer;
        std::size_t child;
    };
    std::vector<Step> stack{{0, 0}};
    while (!stack.empty()) {
        Step& step = stack.back();
        if (step.child < mLayers[step.layer].children.size()) {
            const std::uint32_t child = mLayers[step.layer].children[step.child++];
            stack.push_back({child, 0});
        } else {
            mLayerRanks[step.layer] = rank++;
            stack.pop_back();
        }
    }
}

}  // namespace veltrano::html::css
