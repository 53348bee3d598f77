#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/html/css/css_token.h"

namespace veltrano::html::css {

// A component value: a preserved token, or a function or simple block followed by its contents.
// The values of a style sheet are kept in one list, in document order; end is the index just
// after the value and its contents, so siblings are reached by jumping from end to end.
struct ComponentValue {
    Token token;  // a block's opening token ({, [ or (), a function's function token
    std::uint32_t end = 0;

    bool isFunction() const { return token.type == TokenType::Function; }
    bool isBlock(TokenType opening) const { return token.type == opening && hasContents(); }
    bool hasContents() const {
        return token.type == TokenType::Function || token.type == TokenType::OpenCurly ||
               token.type == TokenType::OpenSquare || token.type == TokenType::OpenParen;
    }
};

// Sibling values [begin, end) of a component value list.
struct ValueRange {
    std::uint32_t begin = 0;
    std::uint32_t end = 0;

    bool empty() const { return begin >= end; }
};

using ComponentValues = std::vector<ComponentValue>;

// The values inside a function or block.
inline ValueRange contentsOf(const ComponentValues& values, std::uint32_t index) {
    return {index + 1, values[index].end};
}

// The sibling values of a range that are not white space (their indexes).
std::vector<std::uint32_t> significantValues(const ComponentValues& values, ValueRange range);

struct Declaration {
    std::string name;  // as written
    ValueRange value;  // without leading and trailing white space and without "!important"
    bool important = false;
};

enum class RuleKind : std::uint8_t {
    Qualified,
    At,
    // Declarations that follow a nested rule inside a block: they keep their place among the
    // block's rules.
    NestedDeclarations,
};

struct Rule {
    RuleKind kind = RuleKind::Qualified;
    std::string name;  // an at-rule's name, without "@"
    ValueRange prelude;
    bool hasBlock = false;
    // A qualified rule's declarations before its first nested rule; a nested declarations
    // rule's declarations. An at-rule's block keeps all its declarations in nested declarations
    // rules among its rules.
    std::vector<Declaration> declarations;
    std::vector<Rule> rules;
};

// A style sheet after CSS Syntax Level 3's parsing ("parse a stylesheet"): rules as the
// standard's parser returns them, with error recovery as it says, but not yet checked against
// the grammar of selectors, properties or at-rules. Blocks nested more than kMaximumNesting deep
// are read as empty.
struct StyleSheetSyntax {
    static constexpr int kMaximumNesting = 32;

    ComponentValues values;
    std::vector<Rule> rules;
};

StyleSheetSyntax parseStyleSheet(std::string_view text);

// The declarations of a style attribute ("parse a block's contents", rules left out).
struct DeclarationListSyntax {
    ComponentValues values;
    std::vector<Declaration> declarations;
};

DeclarationListSyntax parseDeclarationList(std::string_view text);

// A list of component values alone, as for a media attribute.
ComponentValues parseComponentValues(std::string_view text);

}  // namespace veltrano::html::css
