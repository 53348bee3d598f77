#include "platform/html/css/selector_matcher.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "platform/html/ascii_case.h"
#include "platform/html/css/element_language.h"

namespace veltrano::html::css {
namespace {

using parser::AttributeNamespace;
using parser::kNoNode;
using parser::KnownName;
using parser::nameId;
using parser::Namespace;
using parser::NodeId;
using parser::NodeKind;

bool elementNamespaceMatches(NamespaceTest test, Namespace ns) {
    switch (test) {
        case NamespaceTest::Any:
            return true;
        case NamespaceTest::Html:
            return ns == Namespace::Html;
        case NamespaceTest::Svg:
            return ns == Namespace::Svg;
        case NamespaceTest::MathMl:
            return ns == Namespace::MathMl;
        default:
            return false;
    }
}

bool attributeNamespaceMatches(NamespaceTest test, AttributeNamespace ns) {
    switch (test) {
        case NamespaceTest::Any:
            return true;
        case NamespaceTest::None:
            return ns == AttributeNamespace::None;
        case NamespaceTest::XLink:
            return ns == AttributeNamespace::XLink;
        case NamespaceTest::Xml:
            return ns == AttributeNamespace::Xml;
        case NamespaceTest::Xmlns:
            return ns == AttributeNamespace::Xmlns;
        default:
            return false;
    }
}

// Attributes whose values the HTML Standard has selectors compare ASCII case-insensitively on
// HTML elements (an inheritance of HTML 4).
bool hasCaseInsensitiveValue(std::string_view name) {
    static constexpr std::string_view kNames[]{
        "accept",     "accept-charset", "align",     "alink",    "axis",     "bgcolor", "charset",
        "checked",    "clear",          "codetype",  "color",    "compact",  "declare", "defer",
        "dir",        "direction",      "disabled",  "enctype",  "face",     "frame",   "hreflang",
        "http-equiv", "lang",           "language",  "link",     "media",    "method",  "multiple",
        "nohref",     "noresize",       "noshade",   "nowrap",   "readonly", "rel",     "rev",
        "rules",      "scope",          "scrolling", "selected", "shape",    "target",  "text",
        "type",       "valign",         "valuetype", "vlink",
    };
    return std::find(std::begin(kNames), std::end(kNames), name) != std::end(kNames);
}

bool textEquals(std::string_view a, std::string_view b, bool ignoreCase) {
    return ignoreCase ? equalsIgnoringAsciiCase(a, b) : a == b;
}

bool nthMatches(std::int32_t a, std::int32_t b, std::int64_t index) {
    if (a == 0) {
        return index == b;
    }
    const std::int64_t difference = index - b;
    return difference % a == 0 && difference / a >= 0;
}

}  // namespace

SelectorMatcher::SelectorMatcher(const SelectorSet& set, const parser::NodeTree& tree,
                                 bool quirksMode)
    : mSet(set), mTree(tree), mQuirksMode(quirksMode) {}

bool SelectorMatcher::matches(std::uint32_t complex, NodeId element) const {
    const ComplexSelector& selector = mSet.complexes[complex];
    return matchFrom(selector, selector.compoundBegin, element) == Result::Matches;
}

NodeId SelectorMatcher::parentElement(NodeId element) const {
    const NodeId parent = mTree[element].parent;
    return parent != kNoNode && mTree[parent].kind == NodeKind::Element ? parent : kNoNode;
}

NodeId SelectorMatcher::previousElement(NodeId element) const {
    NodeId node = mTree[element].previousSibling;
    while (node != kNoNode && mTree[node].kind != NodeKind::Element) {
        node = mTree[node].previousSibling;
    }
    return node;
}

NodeId SelectorMatcher::nextElement(NodeId element) const {
    NodeId node = mTree[element].nextSibling;
    while (node != kNoNode && mTree[node].kind != NodeKind::Element) {
        node = mTree[node].nextSibling;
    }
    return node;
}

// Recursion goes one compound deeper at each step, so it is as deep as the selector is long
// (which the parser limits), whatever the tree.
SelectorMatcher::Result SelectorMatcher::matchFrom(const ComplexSelector& complex,
                                                   std::uint32_t compound, NodeId element) const {
    const Compound& current = mSet.compounds[compound];
    if (!matchesCompound(current, element)) {
        return Result::NoMatch;
    }
    if (compound + 1 == complex.compoundEnd) {
        return Result::Matches;
    }
    const std::uint32_t next = compound + 1;
    switch (current.toLeft) {
        case Combinator::Descendant:
            for (NodeId ancestor = parentElement(element); ancestor != kNoNode;
                 ancestor = parentElement(ancestor)) {
                const Result result = matchFrom(complex, next, ancestor);
                if (result == Result::Matches || result == Result::FailsCompletely) {
                    return result;
                }
            }
            return Result::FailsCompletely;
        case Combinator::Child: {
            const NodeId parent = parentElement(element);
            if (parent == kNoNode) {
                return Result::FailsCompletely;
            }
            const Result result = matchFrom(complex, next, parent);
            return result == Result::FailsAllSiblings ? Result::NoMatch : result;
        }
        case Combinator::NextSibling: {
            const NodeId sibling = previousElement(element);
            if (sibling == kNoNode) {
                return Result::FailsAllSiblings;
            }
            return matchFrom(complex, next, sibling);
        }
        case Combinator::SubsequentSibling:
            for (NodeId sibling = previousElement(element); sibling != kNoNode;
                 sibling = previousElement(sibling)) {
                const Result result = matchFrom(complex, next, sibling);
                if (result != Result::NoMatch) {
                    return result;
                }
            }
            return Result::FailsAllSiblings;
    }
    return Result::NoMatch;
}

bool SelectorMatcher::matchesCompound(const Compound& compound, NodeId element) const {
    for (std::uint32_t i = compound.simpleBegin; i < compound.simpleEnd; ++i) {
        if (!matchesSimple(mSet.simples[i], element)) {
            return false;
        }
    }
    return true;
}

bool SelectorMatcher::matchesList(std::uint32_t begin, std::uint32_t end, NodeId element) const {
    for (std::uint32_t i = begin; i < end; ++i) {
        const std::uint32_t complex = mSet.lists[i];
        if (mSet.complexes[complex].pseudoElement == PseudoElement::None &&
            matches(complex, element)) {
            return true;
        }
    }
    return false;
}

bool SelectorMatcher::matchesName(const SelectorName& name, NodeId element,
                                  parser::NameId actual) const {
    const bool html = mTree[element].ns == Namespace::Html;
    const parser::NameId wanted = html ? name.lowerId : name.asWrittenId;
    if (wanted != 0) {
        return actual == wanted;
    }
    return actual >= parser::kKnownNameCount &&
           mTree.nameText(actual) == (html ? name.lower : name.asWritten);
}

bool SelectorMatcher::matchesSimple(const SimpleSelector& simple, NodeId element) const {
    const parser::Node& node = mTree[element];
    switch (simple.kind) {
        case SimpleKind::Type:
            return elementNamespaceMatches(simple.ns, node.ns) &&
                   matchesName(mSet.names[simple.name], element, node.name);
        case SimpleKind::Universal:
            return elementNamespaceMatches(simple.ns, node.ns);
        case SimpleKind::Id: {
            const auto id = mTree.attribute(element, nameId(KnownName::Id));
            return id && textEquals(*id, mSet.texts[simple.text], mQuirksMode);
        }
        case SimpleKind::Class: {
            const auto classes = mTree.attribute(element, nameId(KnownName::Class));
            return classes && matchesTokenList(*classes, mSet.texts[simple.text], mQuirksMode);
        }
        case SimpleKind::AttributeExists:
        case SimpleKind::AttributeEquals:
        case SimpleKind::AttributeIncludes:
        case SimpleKind::AttributeDashMatch:
        case SimpleKind::AttributePrefix:
        case SimpleKind::AttributeSuffix:
        case SimpleKind::AttributeSubstring:
            return matchesAttribute(simple, element);
        case SimpleKind::NthChild:
        case SimpleKind::NthLastChild:
        case SimpleKind::NthOfType:
        case SimpleKind::NthLastOfType:
            return matchesNth(simple, element);
        case SimpleKind::Root: {
            const NodeId parent = node.parent;
            return parent != kNoNode && mTree[parent].kind == NodeKind::Document;
        }
        case SimpleKind::Empty:
            return isEmpty(element);
        case SimpleKind::Lang: {
            const std::string_view language = elementLanguage(mTree, element);
            for (std::uint32_t i = simple.listBegin; i < simple.listEnd; ++i) {
                if (languageMatches(language, mSet.texts[i])) {
                    return true;
                }
            }
            return false;
        }
        case SimpleKind::AnyLink:
            return isLink(element);
        case SimpleKind::Defined:
            return isDefined(element);
        case SimpleKind::Is:
            return matchesList(simple.listBegin, simple.listEnd, element);
        case SimpleKind::Not:
            return !matchesList(simple.listBegin, simple.listEnd, element);
        case SimpleKind::Never:
            return false;
    }
    return false;
}

bool SelectorMatcher::matchesTokenList(std::string_view list, std::string_view wanted,
                                       bool ignoreCase) const {
    bool found = false;
    forEachAsciiToken(list, [&](std::string_view token) {
        found = found || textEquals(token, wanted, ignoreCase);
    });
    return found;
}

bool SelectorMatcher::matchesAttribute(const SimpleSelector& simple, NodeId element) const {
    const SelectorName& name = mSet.names[simple.name];
    const bool html = mTree[element].ns == Namespace::Html;
    const std::string_view wanted =
        simple.kind == SimpleKind::AttributeExists ? std::string_view() : mSet.texts[simple.text];
    bool ignoreCase = simple.attributeCase == AttributeCase::Insensitive;
    for (const parser::Attribute& attribute : mTree.attributes(element)) {
        if (!attributeNamespaceMatches(simple.ns, attribute.ns) ||
            !matchesName(name, element, attribute.name)) {
            continue;
        }
        if (simple.attributeCase == AttributeCase::Default) {
            ignoreCase = html && attribute.ns == AttributeNamespace::None &&
                         hasCaseInsensitiveValue(name.lower);
        }
        const std::string_view value = mTree.text().view(attribute.value);
        bool found = false;
        switch (simple.kind) {
            case SimpleKind::AttributeExists:
                found = true;
                break;
            case SimpleKind::AttributeEquals:
                found = textEquals(value, wanted, ignoreCase);
                break;
            case SimpleKind::AttributeIncludes:
                found = !wanted.empty() &&
                        std::none_of(wanted.begin(), wanted.end(), isAsciiWhitespace) &&
                        matchesTokenList(value, wanted, ignoreCase);
                break;
            case SimpleKind::AttributeDashMatch:
                found = textEquals(value, wanted, ignoreCase) ||
                        (value.size() > wanted.size() && value[wanted.size()] == '-' &&
                         textEquals(value.substr(0, wanted.size()), wanted, ignoreCase));
                break;
            case SimpleKind::AttributePrefix:
                found = !wanted.empty() && value.size() >= wanted.size() &&
                        textEquals(value.substr(0, wanted.size()), wanted, ignoreCase);
                break;
            case SimpleKind::AttributeSuffix:
                found = !wanted.empty() && value.size() >= wanted.size() &&
                        textEquals(value.substr(value.size() - wanted.size()), wanted, ignoreCase);
                break;
            case SimpleKind::AttributeSubstring:
                if (!wanted.empty() && value.size() >= wanted.size()) {
                    for (std::size_t at = 0; at + wanted.size() <= value.size() && !found; ++at) {
                        found = textEquals(value.substr(at, wanted.size()), wanted, ignoreCase);
                    }
                }
                break;
            default:
                break;
        }
        if (found) {
            return true;
        }
    }
    return false;
}

bool SelectorMatcher::matchesNth(const SimpleSelector& simple, NodeId element) const {
    const bool ofType =
        simple.kind == SimpleKind::NthOfType || simple.kind == SimpleKind::NthLastOfType;
    const bool backwards =
        simple.kind == SimpleKind::NthLastChild || simple.kind == SimpleKind::NthLastOfType;
    if (!simple.hasList()) {
        return nthMatches(simple.a, simple.b, position(element, backwards, ofType));
    }
    if (!matchesList(simple.listBegin, simple.listEnd, element)) {
        return false;
    }
    std::int64_t index = 1;
    for (NodeId sibling = backwards ? nextElement(element) : previousElement(element);
         sibling != kNoNode;
         sibling = backwards ? nextElement(sibling) : previousElement(sibling)) {
        if (matchesList(simple.listBegin, simple.listEnd, sibling)) {
            ++index;
        }
    }
    return nthMatches(simple.a, simple.b, index);
}

void SelectorMatcher::forgetPositionsBelow(NodeId released) {
    for (Position& cached : mPositions) {
        bool holds = false;
        for (NodeId node = mTree[released].parent; node != kNoNode && !holds;
             node = mTree[node].parent) {
            holds = node == cached.parent;
        }
        if (!holds) {
            cached = Position{};
        }
    }
}

std::int64_t SelectorMatcher::position(NodeId element, bool backwards, bool ofType) const {
    const parser::Node& node = mTree[element];
    const parser::NameId type = ofType ? node.name : 0;
    const auto sameType = [&](NodeId sibling) {
        return !ofType || (mTree[sibling].name == node.name && mTree[sibling].ns == node.ns);
    };
    const auto step = [&](NodeId from) {
        return backwards ? nextElement(from) : previousElement(from);
    };
    const auto neighbourOf = [&](NodeId of) {
        return backwards ? mTree[of].nextSibling : mTree[of].previousSibling;
    };
    Position& cached =
        mPositions[(node.parent * 31u + type * 7u + (backwards ? 1u : 0u)) % mPositions.size()];
    const bool usable = cached.parent == node.parent && cached.type == type &&
                        cached.backwards == backwards && cached.element != kNoNode &&
                        mTree[cached.element].parent == node.parent &&
                        neighbourOf(cached.element) == cached.neighbour;
    std::int64_t index = 1;
    NodeId sibling = element;
    while (true) {
        if (usable && sibling == cached.element) {
            index += cached.index - 1;
            break;
        }
        sibling = step(sibling);
        if (sibling == kNoNode) {
            break;
        }
        if (sameType(sibling)) {
            ++index;
        }
    }
    cached = {node.parent, element, neighbourOf(element), type, backwards, index};
    return index;
}

// Comments do not count; text does, white space included, as in the browsers. An element
// whose children were let go after it was rendered had some, as far as anyone can tell.
bool SelectorMatcher::isEmpty(NodeId element) const {
    if (mTree[element].released) {
        return false;
    }
    for (NodeId child = mTree[element].firstChild; child != kNoNode;
         child = mTree[child].nextSibling) {
        const NodeKind kind = mTree[child].kind;
        if (kind == NodeKind::Element) {
            return false;
        }
        if (kind == NodeKind::Text) {
            bool hasText = false;
            mTree.forEachTextPiece(
                child, [&](std::string_view piece) { hasText = hasText || !piece.empty(); });
            if (hasText) {
                return false;
            }
        }
    }
    return true;
}

bool SelectorMatcher::isLink(NodeId element) const {
    const parser::Node& node = mTree[element];
    if (node.name != nameId(KnownName::A) && node.name != nameId(KnownName::Area)) {
        return false;
    }
    if (node.ns == Namespace::Html) {
        return mTree.attribute(element, nameId(KnownName::Href)).has_value();
    }
    if (node.ns != Namespace::Svg || node.name != nameId(KnownName::A)) {
        return false;
    }
    const auto attributes = mTree.attributes(element);
    return std::any_of(attributes.begin(), attributes.end(), [](const parser::Attribute& a) {
        return a.name == nameId(KnownName::Href) &&
               (a.ns == AttributeNamespace::None || a.ns == AttributeNamespace::XLink);
    });
}

// Without scripts no custom element is ever defined: an HTML element whose name is a valid
// custom element name is undefined.
bool SelectorMatcher::isDefined(NodeId element) const {
    const parser::Node& node = mTree[element];
    if (node.ns != Namespace::Html || node.name < parser::kKnownNameCount) {
        return true;
    }
    const std::string_view name = mTree.nameText(node.name);
    static constexpr std::string_view kReserved[]{
        "annotation-xml", "color-profile",    "font-face",      "font-face-src",
        "font-face-uri",  "font-face-format", "font-face-name", "missing-glyph",
    };
    return name.empty() || !(name[0] >= 'a' && name[0] <= 'z') ||
           name.find('-') == std::string_view::npos ||
           std::find(std::begin(kReserved), std::end(kReserved), name) != std::end(kReserved);
}

}  // namespace veltrano::html::css
