#include "platform/html/css/selector_parser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <utility>
#include <vector>

#include "platform/html/ascii_case.h"

namespace veltrano::html::css {
namespace {

// Deeper nesting of :is(), :not() and the like is refused, so that matching stays shallow.
constexpr int kMaximumDepth = 16;
// Longer chains of compounds are refused for the same reason; real ones have a handful.
constexpr std::size_t kMaximumCompounds = 64;

bool isCombinatorDelim(const Token& token) {
    return token.isDelim('>') || token.isDelim('+') || token.isDelim('~');
}

Combinator combinatorOf(const Token& token) {
    if (token.isDelim('>')) {
        return Combinator::Child;
    }
    if (token.isDelim('+')) {
        return Combinator::NextSibling;
    }
    return Combinator::SubsequentSibling;
}

std::int32_t clampToInt(double value) {
    constexpr double kLimit = 2147483647.0;
    return static_cast<std::int32_t>(std::clamp(value, -kLimit, kLimit));
}

// What a pseudo-class written as an ident (":name") is to us.
enum class PseudoClassKind : std::uint8_t {
    Invalid,
    FirstChild,
    LastChild,
    OnlyChild,
    FirstOfType,
    LastOfType,
    OnlyOfType,
    Root,
    Empty,
    AnyLink,
    Defined,
    Never,
    Unanswerable,
};

PseudoClassKind classifyPseudoClass(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, PseudoClassKind>, 12> kEvaluated{{
        {"first-child", PseudoClassKind::FirstChild},
        {"last-child", PseudoClassKind::LastChild},
        {"only-child", PseudoClassKind::OnlyChild},
        {"first-of-type", PseudoClassKind::FirstOfType},
        {"last-of-type", PseudoClassKind::LastOfType},
        {"only-of-type", PseudoClassKind::OnlyOfType},
        {"root", PseudoClassKind::Root},
        {"scope", PseudoClassKind::Root},
        {"empty", PseudoClassKind::Empty},
        {"link", PseudoClassKind::AnyLink},
        {"any-link", PseudoClassKind::AnyLink},
        {"-webkit-any-link", PseudoClassKind::AnyLink},
    }};
    // Nothing is visited, hovered, focused or targeted in a page that is only loaded (not even
    // an autofocus element, as headless Chromium shows), nothing is filled in by the user or
    // the browser, nothing plays or is shown full screen, no popover or modal dialog opens
    // without scripts, and there is no shadow tree for :host to be.
    static constexpr std::string_view kNever[]{
        "visited",
        "hover",
        "active",
        "target",
        "target-within",
        "host",
        "focus",
        "focus-within",
        "focus-visible",
        "user-valid",
        "user-invalid",
        "autofill",
        "-webkit-autofill",
        "popover-open",
        "modal",
        "fullscreen",
        "-webkit-full-screen",
        "picture-in-picture",
        "playing",
        "xr-overlay",
    };
    // Form state, focus, media playback and the like: valid, but not known here.
    static constexpr std::string_view kUnanswerable[]{
        "checked",
        "disabled",
        "enabled",
        "required",
        "optional",
        "read-only",
        "read-write",
        "placeholder-shown",
        "default",
        "indeterminate",
        "valid",
        "invalid",
        "in-range",
        "out-of-range",
        "-webkit-full-screen-document",
        "-webkit-full-page-media",
        "-webkit-drag",
        "paused",
        "seeking",
        "buffering",
        "stalled",
        "muted",
        "volume-locked",
        "open",
        "closed",
        "future",
        "past",
        "current",
        "window-inactive",
        "blank",
        "active-view-transition",
    };
    if (name == "defined") {
        return PseudoClassKind::Defined;
    }
    for (const auto& [known, kind] : kEvaluated) {
        if (name == known) {
            return kind;
        }
    }
    if (std::find(std::begin(kNever), std::end(kNever), name) != std::end(kNever)) {
        return PseudoClassKind::Never;
    }
    if (std::find(std::begin(kUnanswerable), std::end(kUnanswerable), name) !=
        std::end(kUnanswerable)) {
        return PseudoClassKind::Unanswerable;
    }
    return PseudoClassKind::Invalid;
}

bool isKnownPseudoElement(std::string_view name, bool functional) {
    static constexpr std::string_view kIdents[]{
        "first-line",
        "first-letter",
        "marker",
        "selection",
        "placeholder",
        "backdrop",
        "file-selector-button",
        "target-text",
        "spelling-error",
        "grammar-error",
        "cue",
        "details-content",
        "view-transition",
        "scroll-marker",
        "scroll-marker-group",
        "column",
        "picker-icon",
    };
    static constexpr std::string_view kFunctions[]{
        "highlight",
        "part",
        "slotted",
        "cue",
        "view-transition-group",
        "view-transition-image-pair",
        "view-transition-old",
        "view-transition-new",
        "scroll-button",
        "picker",
    };
    if (name.starts_with("-webkit-")) {
        return true;
    }
    if (functional) {
        return std::find(std::begin(kFunctions), std::end(kFunctions), name) !=
               std::end(kFunctions);
    }
    return name == "checkmark" ||
           std::find(std::begin(kIdents), std::end(kIdents), name) != std::end(kIdents);
}

}  // namespace

NamespaceTest namespaceForUrl(std::string_view url) {
    if (url.empty()) {
        return NamespaceTest::None;
    }
    if (url == "http://www.w3.org/1999/xhtml") {
        return NamespaceTest::Html;
    }
    if (url == "http://www.w3.org/2000/svg") {
        return NamespaceTest::Svg;
    }
    if (url == "http://www.w3.org/1998/Math/MathML") {
        return NamespaceTest::MathMl;
    }
    return NamespaceTest::Unknown;
}

// The sibling values of a range, white space included, read one after the other.
struct SelectorParser::Cursor {
    const ComponentValues& values;
    const std::vector<std::uint32_t>& items;
    std::size_t pos;
    std::size_t end;

    bool atEnd(std::size_t ahead = 0) const { return pos + ahead >= end; }
    std::uint32_t index(std::size_t ahead = 0) const { return items[pos + ahead]; }
    const ComponentValue& value(std::size_t ahead = 0) const { return values[index(ahead)]; }
    // A preserved token of the given type (functions and blocks are not tokens here).
    bool is(TokenType type, std::size_t ahead = 0) const {
        return !atEnd(ahead) && !value(ahead).hasContents() && value(ahead).token.is(type);
    }
    bool isDelim(char32_t c, std::size_t ahead = 0) const {
        return !atEnd(ahead) && value(ahead).token.isDelim(c);
    }
    bool isFunction(std::size_t ahead = 0) const {
        return !atEnd(ahead) && value(ahead).isFunction();
    }
    void skipWhitespace() {
        while (is(TokenType::Whitespace)) {
            ++pos;
        }
    }
};

namespace {

std::vector<std::uint32_t> siblingsOf(const ComponentValues& values, ValueRange range) {
    std::vector<std::uint32_t> items;
    for (std::uint32_t i = range.begin; i < range.end; i = values[i].end) {
        items.push_back(i);
    }
    return items;
}

// The An+B microsyntax of CSS Syntax Level 3 over the tokens of a range without white space at
// either end.
class AnPlusBReader final {
public:
    struct Piece {
        const Token* token;
        bool hasContents;
        bool afterWhitespace;
    };

    explicit AnPlusBReader(std::vector<Piece> pieces) : mPieces(std::move(pieces)) {}

    bool read(std::int32_t& a, std::int32_t& b) const {
        if (mPieces.empty() || std::any_of(mPieces.begin(), mPieces.end(),
                                           [](const Piece& p) { return p.hasContents; })) {
            return false;
        }
        const Token& first = *mPieces[0].token;
        if (first.is(TokenType::Ident)) {
            const std::string name = asciiLowered(first.value);
            if (mPieces.size() == 1 && (name == "odd" || name == "even")) {
                a = 2;
                b = name == "odd" ? 1 : 0;
                return true;
            }
            if (name.starts_with("-")) {
                return readN(std::string_view(name).substr(1), -1, 1, a, b);
            }
            return readN(name, 1, 1, a, b);
        }
        if (first.isDelim('+') && mPieces.size() >= 2 && mPieces[1].token->is(TokenType::Ident) &&
            !mPieces[1].afterWhitespace) {
            const std::string name = asciiLowered(mPieces[1].token->value);
            return !name.starts_with("-") && readN(name, 1, 2, a, b);
        }
        if (first.is(TokenType::Number) && first.isInteger && mPieces.size() == 1) {
            a = 0;
            b = clampToInt(first.number);
            return true;
        }
        if (first.is(TokenType::Dimension) && first.isInteger) {
            return readN(asciiLowered(first.value), clampToInt(first.number), 1, a, b);
        }
        return false;
    }

private:
    // After "n", "n-" or "n-<digits>" with the given A, the pieces from rest on give B.
    bool readN(std::string_view unit, std::int32_t step, std::size_t rest, std::int32_t& a,
               std::int32_t& b) const {
        a = step;
        const std::size_t left = mPieces.size() - rest;
        if (unit == "n") {
            if (left == 0) {
                b = 0;
                return true;
            }
            const Token& next = *mPieces[rest].token;
            if (left == 1 && isInteger(next) && next.hasSign) {
                b = clampToInt(next.number);
                return true;
            }
            if (left == 2 && (next.isDelim('+') || next.isDelim('-')) &&
                isSignlessInteger(*mPieces[rest + 1].token)) {
                const std::int32_t value = clampToInt(mPieces[rest + 1].token->number);
                b = next.isDelim('-') ? -value : value;
                return true;
            }
            return false;
        }
        if (unit == "n-") {
            if (left == 1 && isSignlessInteger(*mPieces[rest].token)) {
                b = -clampToInt(mPieces[rest].token->number);
                return true;
            }
            return false;
        }
        if (unit.size() > 2 && unit.starts_with("n-") && left == 0 &&
            std::all_of(unit.begin() + 2, unit.end(),
                        [](char c) { return c >= '0' && c <= '9'; })) {
            double value = 0;
            for (char c : unit.substr(2)) {
                value = value * 10 + (c - '0');
            }
            b = -clampToInt(value);
            return true;
        }
        return false;
    }

    static bool isInteger(const Token& token) {
        return token.is(TokenType::Number) && token.isInteger;
    }
    static bool isSignlessInteger(const Token& token) { return isInteger(token) && !token.hasSign; }

    std::vector<Piece> mPieces;
};

}  // namespace

SelectorParser::SelectorParser(SelectorSet& set, const ComponentValues& values,
                               const NamespaceRules& namespaces, const SelectorList* parent)
    : mSet(set), mValues(values), mNamespaces(namespaces), mParent(parent) {}

Specificity SelectorParser::parentSpecificity() const {
    Specificity most = 0;
    if (mParent != nullptr) {
        for (std::uint32_t i = mParent->begin; i < mParent->end; ++i) {
            most = std::max(most, mSet.complexes[mSet.lists[i]].specificity);
        }
    }
    return most;
}

std::optional<SelectorList> SelectorParser::parseSelectorList(ValueRange prelude) {
    return parseList(prelude, false, true);
}

std::optional<SelectorList> SelectorParser::parseList(ValueRange range, bool forgiving,
                                                      bool topLevel) {
    const std::vector<std::uint32_t> items = siblingsOf(mValues, range);
    std::vector<std::uint32_t> complexes;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= items.size(); ++i) {
        if (i < items.size() &&
            !(mValues[items[i]].token.is(TokenType::Comma) && !mValues[items[i]].hasContents())) {
            continue;
        }
        if (topLevel) {
            mUnanswerable = false;
            mUsesNesting = false;
            mLooksForward = false;
        }
        std::uint32_t complex = 0;
        Cursor piece{mValues, items, start, i};
        piece.skipWhitespace();
        std::size_t end = i;
        while (end > piece.pos && mValues[items[end - 1]].token.is(TokenType::Whitespace) &&
               !mValues[items[end - 1]].hasContents()) {
            --end;
        }
        const bool valid =
            piece.pos < end && parseComplex(items, piece.pos, end, topLevel, complex);
        start = i + 1;
        if (!valid) {
            if (forgiving) {
                continue;
            }
            return std::nullopt;
        }
        if (topLevel && mUnanswerable) {
            continue;
        }
        complexes.push_back(complex);
    }
    if (complexes.empty() && !forgiving && !topLevel) {
        return std::nullopt;
    }
    SelectorList list;
    list.begin = static_cast<std::uint32_t>(mSet.lists.size());
    mSet.lists.insert(mSet.lists.end(), complexes.begin(), complexes.end());
    list.end = static_cast<std::uint32_t>(mSet.lists.size());
    return list;
}

bool SelectorParser::parseComplex(const std::vector<std::uint32_t>& items, std::size_t begin,
                                  std::size_t end, bool topLevel, std::uint32_t& complexNumber) {
    struct Built {
        std::vector<SimpleSelector> simples;
        Combinator toLeft = Combinator::Descendant;
    };
    Cursor cursor{mValues, items, begin, end};
    std::vector<Built> compounds;  // left to right
    Specificity total = 0;
    PseudoElement pseudoElement = PseudoElement::None;
    const bool relative = topLevel && mParent != nullptr;
    std::optional<Combinator> leading;
    if (relative && !cursor.atEnd() && !cursor.value().hasContents() &&
        isCombinatorDelim(cursor.value().token)) {
        leading = combinatorOf(cursor.value().token);
        ++cursor.pos;
        cursor.skipWhitespace();
    }
    Combinator pending = Combinator::Descendant;
    while (true) {
        if (pseudoElement != PseudoElement::None || compounds.size() == kMaximumCompounds) {
            return false;
        }
        Built built;
        built.toLeft = pending;
        Specificity own = 0;
        if (!parseCompound(cursor, built.simples, own, pseudoElement, topLevel)) {
            return false;
        }
        total = addSpecificity(total, own);
        compounds.push_back(std::move(built));
        const bool spaced = cursor.is(TokenType::Whitespace);
        cursor.skipWhitespace();
        if (cursor.atEnd()) {
            break;
        }
        if (!cursor.value().hasContents() && isCombinatorDelim(cursor.value().token)) {
            pending = combinatorOf(cursor.value().token);
            ++cursor.pos;
            cursor.skipWhitespace();
            if (cursor.atEnd()) {
                return false;
            }
        } else if (spaced) {
            pending = Combinator::Descendant;
        } else {
            return false;
        }
    }
    if (relative && (leading || !mUsesNesting)) {
        Built nesting;
        Specificity own = 0;
        addNesting(nesting.simples, own);
        total = addSpecificity(total, own);
        compounds.front().toLeft = leading.value_or(Combinator::Descendant);
        compounds.insert(compounds.begin(), std::move(nesting));
    }
    ComplexSelector complex;
    complex.compoundBegin = static_cast<std::uint32_t>(mSet.compounds.size());
    for (auto it = compounds.rbegin(); it != compounds.rend(); ++it) {
        Compound compound;
        compound.simpleBegin = static_cast<std::uint32_t>(mSet.simples.size());
        mSet.simples.insert(mSet.simples.end(), it->simples.begin(), it->simples.end());
        compound.simpleEnd = static_cast<std::uint32_t>(mSet.simples.size());
        compound.toLeft = it->toLeft;
        mSet.compounds.push_back(compound);
    }
    complex.compoundEnd = static_cast<std::uint32_t>(mSet.compounds.size());
    complex.specificity = total;
    complex.pseudoElement = pseudoElement;
    complex.looksForward = mLooksForward;
    complexNumber = static_cast<std::uint32_t>(mSet.complexes.size());
    mSet.complexes.push_back(complex);
    return true;
}

bool SelectorParser::parseCompound(Cursor& cursor, std::vector<SimpleSelector>& simples,
                                   Specificity& specificity, PseudoElement& pseudoElement,
                                   bool allowPseudoElement) {
    const std::size_t start = cursor.pos;
    const TypeSelector type = parseTypeSelector(cursor, simples, specificity);
    if (type == TypeSelector::Invalid) {
        return false;
    }
    if (type == TypeSelector::Absent && mNamespaces.defaultNamespace) {
        SimpleSelector universal;
        universal.ns = *mNamespaces.defaultNamespace;
        simples.push_back(universal);
    }
    while (!cursor.atEnd()) {
        const ComponentValue& value = cursor.value();
        if (pseudoElement != PseudoElement::None) {
            // Only pseudo-classes may follow a pseudo-element (::before:hover); such a
            // selector is valid but never holds for the box rendered text looks at.
            if (!cursor.is(TokenType::Colon) || cursor.is(TokenType::Colon, 1)) {
                break;
            }
            std::vector<SimpleSelector> ignored;
            Specificity ignoredSpecificity = 0;
            if (!parsePseudoClass(cursor, ignored, ignoredSpecificity)) {
                return false;
            }
            pseudoElement = PseudoElement::Other;
            continue;
        }
        if (value.hasContents()) {
            if (!value.isBlock(TokenType::OpenSquare)) {
                return false;
            }
            SimpleSelector attribute;
            if (!parseAttribute(cursor.index(), attribute)) {
                return false;
            }
            simples.push_back(attribute);
            specificity = addSpecificity(specificity, css::specificity(0, 1, 0));
            ++cursor.pos;
        } else if (value.token.is(TokenType::Hash)) {
            if (!value.token.isId) {
                return false;
            }
            SimpleSelector id;
            id.kind = SimpleKind::Id;
            id.text = addText(value.token.value);
            simples.push_back(id);
            specificity = addSpecificity(specificity, css::specificity(1, 0, 0));
            ++cursor.pos;
        } else if (value.token.isDelim('.')) {
            if (!cursor.is(TokenType::Ident, 1)) {
                return false;
            }
            SimpleSelector className;
            className.kind = SimpleKind::Class;
            className.text = addText(cursor.value(1).token.value);
            simples.push_back(className);
            specificity = addSpecificity(specificity, css::specificity(0, 1, 0));
            cursor.pos += 2;
        } else if (value.token.isDelim('&')) {
            addNesting(simples, specificity);
            ++cursor.pos;
        } else if (value.token.is(TokenType::Colon)) {
            const bool legacy = cursor.is(TokenType::Ident, 1) && [](const std::string& name) {
                return name == "before" || name == "after" || name == "first-line" ||
                       name == "first-letter";
            }(asciiLowered(cursor.value(1).token.value));
            if (cursor.is(TokenType::Colon, 1) || legacy) {
                if (!allowPseudoElement || !parsePseudoElement(cursor, pseudoElement)) {
                    return false;
                }
                specificity = addSpecificity(specificity, css::specificity(0, 0, 1));
            } else if (!parsePseudoClass(cursor, simples, specificity)) {
                return false;
            }
        } else if (value.token.is(TokenType::Whitespace) || isCombinatorDelim(value.token)) {
            break;
        } else {
            return false;
        }
    }
    return cursor.pos > start;
}

SelectorParser::TypeSelector SelectorParser::parseTypeSelector(Cursor& cursor,
                                                               std::vector<SimpleSelector>& simples,
                                                               Specificity& specificity) {
    const auto isName = [&](std::size_t ahead) {
        return cursor.is(TokenType::Ident, ahead) || cursor.isDelim('*', ahead);
    };
    std::optional<NamespaceTest> ns;
    std::size_t nameAt = 0;
    if (cursor.isDelim('|')) {
        if (!isName(1)) {
            return TypeSelector::Invalid;
        }
        ns = NamespaceTest::None;
        nameAt = 1;
    } else if (isName(0) && cursor.isDelim('|', 1)) {
        if (!isName(2)) {
            return TypeSelector::Invalid;
        }
        if (cursor.isDelim('*')) {
            ns = NamespaceTest::Any;
        } else {
            const auto found = mNamespaces.prefixes.find(cursor.value().token.value);
            if (found == mNamespaces.prefixes.end()) {
                return TypeSelector::Invalid;
            }
            ns = found->second;
        }
        nameAt = 2;
    } else if (!isName(0)) {
        return TypeSelector::Absent;
    }
    SimpleSelector simple;
    simple.ns = ns.value_or(mNamespaces.defaultNamespace.value_or(NamespaceTest::Any));
    const Token& name = cursor.value(nameAt).token;
    if (name.is(TokenType::Ident)) {
        simple.kind = SimpleKind::Type;
        simple.name = addName(name.value);
        specificity = addSpecificity(specificity, css::specificity(0, 0, 1));
    }
    simples.push_back(simple);
    cursor.pos += nameAt + 1;
    return TypeSelector::Present;
}

bool SelectorParser::parseAttribute(std::uint32_t block, SimpleSelector& simple) {
    const std::vector<std::uint32_t> items = siblingsOf(mValues, contentsOf(mValues, block));
    Cursor cursor{mValues, items, 0, items.size()};
    cursor.skipWhitespace();
    simple.ns = NamespaceTest::None;  // an unprefixed attribute name is in no namespace
    if (cursor.isDelim('|') && cursor.is(TokenType::Ident, 1)) {
        cursor.pos += 1;
    } else if ((cursor.is(TokenType::Ident) || cursor.isDelim('*')) && cursor.isDelim('|', 1) &&
               cursor.is(TokenType::Ident, 2)) {
        if (cursor.isDelim('*')) {
            simple.ns = NamespaceTest::Any;
        } else {
            const auto found = mNamespaces.prefixes.find(cursor.value().token.value);
            if (found == mNamespaces.prefixes.end()) {
                return false;
            }
            simple.ns = found->second;
        }
        cursor.pos += 2;
    }
    if (!cursor.is(TokenType::Ident)) {
        return false;
    }
    simple.name = addName(cursor.value().token.value);
    ++cursor.pos;
    cursor.skipWhitespace();
    if (cursor.atEnd()) {
        simple.kind = SimpleKind::AttributeExists;
        return true;
    }
    if (cursor.isDelim('=')) {
        simple.kind = SimpleKind::AttributeEquals;
        ++cursor.pos;
    } else if (cursor.isDelim('=', 1)) {
        const Token& op = cursor.value().token;
        if (op.isDelim('~')) {
            simple.kind = SimpleKind::AttributeIncludes;
        } else if (op.isDelim('|')) {
            simple.kind = SimpleKind::AttributeDashMatch;
        } else if (op.isDelim('^')) {
            simple.kind = SimpleKind::AttributePrefix;
        } else if (op.isDelim('$')) {
            simple.kind = SimpleKind::AttributeSuffix;
        } else if (op.isDelim('*')) {
            simple.kind = SimpleKind::AttributeSubstring;
        } else {
            return false;
        }
        cursor.pos += 2;
    } else {
        return false;
    }
    cursor.skipWhitespace();
    if (!cursor.is(TokenType::Ident) && !cursor.is(TokenType::String)) {
        return false;
    }
    simple.text = addText(cursor.value().token.value);
    ++cursor.pos;
    cursor.skipWhitespace();
    if (cursor.is(TokenType::Ident)) {
        const std::string modifier = asciiLowered(cursor.value().token.value);
        if (modifier == "i") {
            simple.attributeCase = AttributeCase::Insensitive;
        } else if (modifier == "s") {
            simple.attributeCase = AttributeCase::Sensitive;
        } else {
            return false;
        }
        ++cursor.pos;
        cursor.skipWhitespace();
    }
    return cursor.atEnd();
}

bool SelectorParser::parsePseudoElement(Cursor& cursor, PseudoElement& pseudoElement) {
    cursor.pos += cursor.is(TokenType::Colon, 1) ? 2 : 1;
    if (cursor.atEnd()) {
        return false;
    }
    const ComponentValue& value = cursor.value();
    const bool functional = value.isFunction();
    if (!functional && !cursor.is(TokenType::Ident)) {
        return false;
    }
    const std::string name = asciiLowered(value.token.value);
    if (!functional && name == "before") {
        pseudoElement = PseudoElement::Before;
    } else if (!functional && name == "after") {
        pseudoElement = PseudoElement::After;
    } else if (isKnownPseudoElement(name, functional)) {
        pseudoElement = PseudoElement::Other;
    } else {
        return false;
    }
    ++cursor.pos;
    return true;
}

bool SelectorParser::parsePseudoClass(Cursor& cursor, std::vector<SimpleSelector>& simples,
                                      Specificity& specificity) {
    if (cursor.isFunction(1)) {
        const std::uint32_t function = cursor.index(1);
        cursor.pos += 2;
        return parseFunctionalPseudoClass(function, simples, specificity);
    }
    if (!cursor.is(TokenType::Ident, 1)) {
        return false;
    }
    const PseudoClassKind kind = classifyPseudoClass(asciiLowered(cursor.value(1).token.value));
    cursor.pos += 2;
    const auto add = [&](SimpleKind simpleKind, std::int32_t a = 0, std::int32_t b = 0) {
        SimpleSelector simple;
        simple.kind = simpleKind;
        simple.a = a;
        simple.b = b;
        simples.push_back(simple);
    };
    switch (kind) {
        case PseudoClassKind::Invalid:
            return false;
        case PseudoClassKind::FirstChild:
            add(SimpleKind::NthChild, 0, 1);
            break;
        case PseudoClassKind::LastChild:
            add(SimpleKind::NthLastChild, 0, 1);
            mLooksForward = true;
            break;
        case PseudoClassKind::OnlyChild:
            add(SimpleKind::NthChild, 0, 1);
            add(SimpleKind::NthLastChild, 0, 1);
            mLooksForward = true;
            break;
        case PseudoClassKind::FirstOfType:
            add(SimpleKind::NthOfType, 0, 1);
            break;
        case PseudoClassKind::LastOfType:
            add(SimpleKind::NthLastOfType, 0, 1);
            mLooksForward = true;
            break;
        case PseudoClassKind::OnlyOfType:
            add(SimpleKind::NthOfType, 0, 1);
            add(SimpleKind::NthLastOfType, 0, 1);
            mLooksForward = true;
            break;
        case PseudoClassKind::Root:
            add(SimpleKind::Root);
            break;
        case PseudoClassKind::Empty:
            add(SimpleKind::Empty);
            break;
        case PseudoClassKind::AnyLink:
            add(SimpleKind::AnyLink);
            break;
        case PseudoClassKind::Defined:
            add(SimpleKind::Defined);
            break;
        case PseudoClassKind::Never:
            add(SimpleKind::Never);
            break;
        case PseudoClassKind::Unanswerable:
            mUnanswerable = true;
            add(SimpleKind::Never);
            break;
    }
    specificity = addSpecificity(specificity, css::specificity(0, 1, 0));
    return true;
}

bool SelectorParser::parseFunctionalPseudoClass(std::uint32_t function,
                                                std::vector<SimpleSelector>& simples,
                                                Specificity& specificity) {
    if (mDepth >= kMaximumDepth) {
        return false;
    }
    ++mDepth;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{mDepth};

    const std::string name = asciiLowered(mValues[function].token.value);
    const ValueRange arguments = contentsOf(mValues, function);
    SimpleSelector simple;
    const auto mostSpecific = [&](const SelectorList& list) {
        Specificity most = 0;
        for (std::uint32_t i = list.begin; i < list.end; ++i) {
            most = std::max(most, mSet.complexes[mSet.lists[i]].specificity);
        }
        return most;
    };
    if (name == "not" || name == "is" || name == "where") {
        const bool isNot = name == "not";
        const auto list = parseList(arguments, !isNot, false);
        if (!list) {
            return false;
        }
        simple.kind = isNot ? SimpleKind::Not : SimpleKind::Is;
        simple.listBegin = list->begin;
        simple.listEnd = list->end;
        simples.push_back(simple);
        if (name != "where") {
            specificity = addSpecificity(specificity, mostSpecific(*list));
        }
        return true;
    }
    if (name == "nth-child" || name == "nth-last-child") {
        return parseNth(function,
                        name == "nth-child" ? SimpleKind::NthChild : SimpleKind::NthLastChild, true,
                        simple, specificity) &&
               (simples.push_back(simple), true);
    }
    if (name == "nth-of-type" || name == "nth-last-of-type") {
        return parseNth(function,
                        name == "nth-of-type" ? SimpleKind::NthOfType : SimpleKind::NthLastOfType,
                        false, simple, specificity) &&
               (simples.push_back(simple), true);
    }
    if (name == "lang") {
        if (!parseLang(function, simple)) {
            return false;
        }
        simples.push_back(simple);
        specificity = addSpecificity(specificity, css::specificity(0, 1, 0));
        return true;
    }
    if (name == "has" || name == "dir" || name == "state" || name == "-webkit-any" ||
        name == "current") {
        mUnanswerable = true;
    } else if (name != "host" && name != "host-context") {
        return false;
    }
    simple.kind = SimpleKind::Never;
    simples.push_back(simple);
    specificity = addSpecificity(specificity, css::specificity(0, 1, 0));
    return true;
}

bool SelectorParser::parseNth(std::uint32_t function, SimpleKind kind, bool allowOf,
                              SimpleSelector& simple, Specificity& specificity) {
    const ValueRange arguments = contentsOf(mValues, function);
    const std::vector<std::uint32_t> items = siblingsOf(mValues, arguments);
    std::vector<AnPlusBReader::Piece> pieces;
    std::optional<ValueRange> of;
    bool afterWhitespace = false;
    for (const std::uint32_t item : items) {
        const ComponentValue& value = mValues[item];
        if (!value.hasContents() && value.token.is(TokenType::Whitespace)) {
            afterWhitespace = true;
            continue;
        }
        if (allowOf && !value.hasContents() && value.token.is(TokenType::Ident) &&
            equalsIgnoringAsciiCase(value.token.value, "of") && !pieces.empty() &&
            afterWhitespace) {
            of = ValueRange{value.end, arguments.end};
            break;
        }
        pieces.push_back({&value.token, value.hasContents(), afterWhitespace});
        afterWhitespace = false;
    }
    if (!AnPlusBReader(std::move(pieces)).read(simple.a, simple.b)) {
        return false;
    }
    simple.kind = kind;
    specificity = addSpecificity(specificity, css::specificity(0, 1, 0));
    if (kind == SimpleKind::NthLastChild || kind == SimpleKind::NthLastOfType) {
        mLooksForward = true;
    }
    if (of) {
        const auto list = parseList(*of, false, false);
        if (!list) {
            return false;
        }
        simple.listBegin = list->begin;
        simple.listEnd = list->end;
        Specificity most = 0;
        for (std::uint32_t i = list->begin; i < list->end; ++i) {
            most = std::max(most, mSet.complexes[mSet.lists[i]].specificity);
        }
        specificity = addSpecificity(specificity, most);
    }
    return true;
}

bool SelectorParser::parseLang(std::uint32_t function, SimpleSelector& simple) {
    const std::vector<std::uint32_t> items = siblingsOf(mValues, contentsOf(mValues, function));
    std::vector<std::string> ranges;
    Cursor cursor{mValues, items, 0, items.size()};
    while (true) {
        cursor.skipWhitespace();
        std::string range;
        if (cursor.is(TokenType::Ident) || cursor.is(TokenType::String)) {
            range = cursor.value().token.value;
            ++cursor.pos;
        } else if (cursor.isDelim('*')) {
            range = "*";
            ++cursor.pos;
            if (cursor.is(TokenType::Ident) && cursor.value().token.value.starts_with("-")) {
                range += cursor.value().token.value;
                ++cursor.pos;
            }
        } else {
            return false;
        }
        ranges.push_back(asciiLowered(range));
        cursor.skipWhitespace();
        if (cursor.atEnd()) {
            break;
        }
        if (!cursor.is(TokenType::Comma)) {
            return false;
        }
        ++cursor.pos;
    }
    simple.kind = SimpleKind::Lang;
    simple.listBegin = static_cast<std::uint32_t>(mSet.texts.size());
    for (std::string& range : ranges) {
        mSet.texts.push_back(std::move(range));
    }
    simple.listEnd = static_cast<std::uint32_t>(mSet.texts.size());
    return true;
}

void SelectorParser::addNesting(std::vector<SimpleSelector>& simples, Specificity& specificity) {
    mUsesNesting = true;
    SimpleSelector simple;
    if (mParent == nullptr) {
        simple.kind = SimpleKind::Root;
        specificity = addSpecificity(specificity, css::specificity(0, 1, 0));
    } else {
        simple.kind = SimpleKind::Is;
        simple.listBegin = mParent->begin;
        simple.listEnd = mParent->end;
        specificity = addSpecificity(specificity, parentSpecificity());
        for (std::uint32_t i = mParent->begin; i < mParent->end; ++i) {
            mLooksForward = mLooksForward || mSet.complexes[mSet.lists[i]].looksForward;
        }
    }
    simples.push_back(simple);
}

std::uint32_t SelectorParser::addName(std::string_view asWritten) {
    SelectorName name;
    name.asWritten = std::string(asWritten);
    name.lower = asciiLowered(asWritten);
    name.lowerId = parser::nameId(parser::knownName(name.lower));
    name.asWrittenId = parser::nameId(parser::knownName(name.asWritten));
    mSet.names.push_back(std::move(name));
    return static_cast<std::uint32_t>(mSet.names.size() - 1);
}

std::uint32_t SelectorParser::addText(std::string text) {
    mSet.texts.push_back(std::move(text));
    return static_cast<std::uint32_t>(mSet.texts.size() - 1);
}

}  // namespace veltrano::html::css
