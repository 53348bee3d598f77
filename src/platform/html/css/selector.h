#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/html/parser/names.h"

namespace veltrano::html::css {

enum class PseudoElement : std::uint8_t {
    None,
    Before,
    After,
    Other,  // ::marker, ::first-line...: valid, but never part of rendered text
};

enum class Combinator : std::uint8_t { Descendant, Child, NextSibling, SubsequentSibling };

enum class SimpleKind : std::uint8_t {
    Type,
    Universal,  // its namespace test only
    Id,
    Class,
    AttributeExists,
    AttributeEquals,
    AttributeIncludes,   // ~=
    AttributeDashMatch,  // |=
    AttributePrefix,     // ^=
    AttributeSuffix,     // $=
    AttributeSubstring,  // *=
    NthChild,            // also :first-child (0n+1)
    NthLastChild,        // also :last-child
    NthOfType,
    NthLastOfType,
    Root,
    Empty,
    Lang,
    AnyLink,
    Defined,
    Is,  // :is(), :where(), and & (the parent rule's selectors)
    Not,
    Never,  // a pseudo-class no element of a static page matches (:hover, :visited...)
};

// What a type, universal or attribute selector asks of a namespace: any, none, or one of those
// elements and attributes can be in (Unknown: one they never are).
enum class NamespaceTest : std::uint8_t {
    Any,
    None,
    Html,
    Svg,
    MathMl,
    XLink,
    Xml,
    Xmlns,
    Unknown
};

enum class AttributeCase : std::uint8_t {
    Default,  // as the HTML Standard says for the attribute
    Insensitive,
    Sensitive,
};

// An element or attribute name of a selector: in HTML documents it is compared ASCII
// case-insensitively with HTML elements' names and exactly with other elements' names.
struct SelectorName {
    std::string lower;
    std::string asWritten;
    parser::NameId lowerId = 0;      // the known name, or 0 when it is not one
    parser::NameId asWrittenId = 0;  // likewise
};

struct SimpleSelector {
    SimpleKind kind = SimpleKind::Universal;
    NamespaceTest ns = NamespaceTest::Any;
    AttributeCase attributeCase = AttributeCase::Default;
    std::uint32_t name = 0;  // Type and attribute selectors: into SelectorSet::names
    std::uint32_t text = 0;  // Id, class, attribute value: into SelectorSet::texts
    std::int32_t a = 0;      // An+B
    std::int32_t b = 0;
    // Is, Not and the "of S" of NthChild and NthLastChild: complex selectors, as indexes into
    // SelectorSet::lists. Lang: its ranges, as indexes into SelectorSet::texts.
    std::uint32_t listBegin = 0;
    std::uint32_t listEnd = 0;
    bool hasList() const { return listEnd > listBegin; }
};

struct Compound {
    std::uint32_t simpleBegin = 0;
    std::uint32_t simpleEnd = 0;
    Combinator toLeft = Combinator::Descendant;  // how the compound to its left relates to it
};

// Specificity (a, b, c) packed so that comparing numbers compares specificities: ten bits each.
using Specificity = std::uint32_t;

inline constexpr Specificity specificity(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    constexpr std::uint32_t kMax = 1023;
    return (a < kMax ? a : kMax) << 20 | (b < kMax ? b : kMax) << 10 | (c < kMax ? c : kMax);
}

inline constexpr Specificity addSpecificity(Specificity x, Specificity y) {
    return specificity((x >> 20) + (y >> 20), ((x >> 10) & 1023) + ((y >> 10) & 1023),
                       (x & 1023) + (y & 1023));
}

struct ComplexSelector {
    // Compounds from right to left: the first is the subject's.
    std::uint32_t compoundBegin = 0;
    std::uint32_t compoundEnd = 0;
    Specificity specificity = 0;
    PseudoElement pseudoElement = PseudoElement::None;
    // Looks at siblings after an element (:last-child and the like), which a document read as
    // it streams in has not seen yet.
    bool looksForward = false;
};

// The selectors of a set of style sheets, stored flat.
struct SelectorSet {
    std::vector<SimpleSelector> simples;
    std::vector<Compound> compounds;
    std::vector<ComplexSelector> complexes;
    std::vector<std::uint32_t> lists;  // complex selector numbers of selector lists
    std::vector<std::string> texts;
    std::vector<SelectorName> names;
};

}  // namespace veltrano::html::css
