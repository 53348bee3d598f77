#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/html/css/css_parser.h"
#include "platform/html/css/selector.h"

namespace veltrano::html::css {

// The namespaces a style sheet declares with @namespace.
struct NamespaceRules {
    std::optional<NamespaceTest> defaultNamespace;
    std::unordered_map<std::string, NamespaceTest> prefixes;
};

NamespaceTest namespaceForUrl(std::string_view url);

// A selector list: complex selector numbers [begin, end) of SelectorSet::lists.
struct SelectorList {
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
};

// Reads the selectors of rule preludes into a SelectorSet, by the grammar of Selectors Level 4
// as browsers accept it. A selector that is not valid makes its whole list invalid (nothing is
// returned); one that is valid but asks what a static page cannot answer (:focus, :checked,
// :has()...) is left out of the list, so that it matches nothing rather than something wrong.
class SelectorParser final {
public:
    // parent is the selector list of the rule a nested rule is inside (what & stands for), or
    // nullptr at the top level, where & is :scope (the root element).
    SelectorParser(SelectorSet& set, const ComponentValues& values,
                   const NamespaceRules& namespaces, const SelectorList* parent);

    // A style rule's prelude. A nested rule's selectors are relative: without &, they start
    // with "& " (or & and their leading combinator).
    std::optional<SelectorList> parseSelectorList(ValueRange prelude);

    // The specificity & has: that of the most specific selector of the parent list.
    Specificity parentSpecificity() const;

private:
    struct Cursor;

    std::optional<SelectorList> parseList(ValueRange range, bool forgiving, bool topLevel);
    bool parseComplex(const std::vector<std::uint32_t>& items, std::size_t begin, std::size_t end,
                      bool topLevel, std::uint32_t& complexNumber);
    bool parseCompound(Cursor& cursor, std::vector<SimpleSelector>& simples,
                       Specificity& specificity, PseudoElement& pseudoElement,
                       bool allowPseudoElement);
    enum class TypeSelector : std::uint8_t { Absent, Present, Invalid };
    TypeSelector parseTypeSelector(Cursor& cursor, std::vector<SimpleSelector>& simples,
                                   Specificity& specificity);
    bool parseAttribute(std::uint32_t block, SimpleSelector& simple);
    bool parsePseudoClass(Cursor& cursor, std::vector<SimpleSelector>& simples,
                          Specificity& specificity);
    bool parsePseudoElement(Cursor& cursor, PseudoElement& pseudoElement);
    bool parseFunctionalPseudoClass(std::uint32_t function, std::vector<SimpleSelector>& simples,
                                    Specificity& specificity);
    bool parseNth(std::uint32_t function, SimpleKind kind, bool allowOf, SimpleSelector& simple,
                  Specificity& specificity);
    bool parseLang(std::uint32_t function, SimpleSelector& simple);
    void addNesting(std::vector<SimpleSelector>& simples, Specificity& specificity);
    std::uint32_t addName(std::string_view asWritten);
    std::uint32_t addText(std::string text);

    SelectorSet& mSet;
    const ComponentValues& mValues;
    const NamespaceRules& mNamespaces;
    const SelectorList* mParent;
    // Set while reading a top-level complex selector when some part of it cannot be answered.
    bool mUnanswerable = false;
    bool mUsesNesting = false;
    bool mLooksForward = false;
    int mDepth = 0;
};

}  // namespace veltrano::html::css
