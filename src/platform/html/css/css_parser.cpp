#include "platform/html/css/css_parser.h"

#include <optional>
#include <utility>

#include "platform/html/ascii_case.h"
#include "platform/html/css/css_tokenizer.h"

namespace veltrano::html::css {
namespace {

TokenType closerOf(TokenType opening) {
    switch (opening) {
        case TokenType::OpenCurly:
            return TokenType::CloseCurly;
        case TokenType::OpenSquare:
            return TokenType::CloseSquare;
        default:
            return TokenType::CloseParen;
    }
}

// Groups tokens into component values ("consume a component value", "consume a simple
// block", "consume a function") with a stack instead of recursion, so that deep nesting in a
// hostile sheet costs memory, not the call stack. A closing token that closes nothing open is
// a preserved token; whatever is open at the end is closed there.
ComponentValues groupComponentValues(std::vector<Token>&& tokens) {
    ComponentValues values;
    values.reserve(tokens.size());
    struct Open {
        std::uint32_t index;
        TokenType closer;
    };
    std::vector<Open> open;
    for (Token& token : tokens) {
        if (!open.empty() && token.type == open.back().closer) {
            values[open.back().index].end = static_cast<std::uint32_t>(values.size());
            open.pop_back();
            continue;
        }
        const auto index = static_cast<std::uint32_t>(values.size());
        values.push_back({std::move(token), index + 1});
        if (values.back().hasContents()) {
            open.push_back({index, closerOf(values.back().token.type)});
        }
    }
    for (const Open& block : open) {
        values[block.index].end = static_cast<std::uint32_t>(values.size());
    }
    return values;
}

// The parser's algorithms over sibling values. The input stream of the standard is a position
// in a range of siblings; the end of the range is its end-of-file token, which also stands for
// the "}" that closes a block (nested contexts stop there).
class RuleParser final {
public:
    explicit RuleParser(const ComponentValues& values) : mValues(values) {}

    std::vector<Rule> consumeStyleSheetContents(ValueRange input) {
        std::vector<Rule> rules;
        std::uint32_t& pos = input.begin;
        while (pos < input.end) {
            const Token& token = mValues[pos].token;
            if (token.is(TokenType::Whitespace) || token.is(TokenType::Cdo) ||
                token.is(TokenType::Cdc)) {
                ++pos;
            } else if (token.is(TokenType::AtKeyword)) {
                rules.push_back(consumeAtRule(input, 0));
            } else if (auto rule = consumeQualifiedRule(input, false, false, 0)) {
                rules.push_back(std::move(*rule));
            }
        }
        return rules;
    }

    // The items of a block: rules, with each run of declarations as a nested declarations
    // rule in its place.
    std::vector<Rule> consumeBlockContents(ValueRange input, int depth) {
        std::vector<Rule> rules;
        Rule declarations;
        declarations.kind = RuleKind::NestedDeclarations;
        const auto flush = [&] {
            if (!declarations.declarations.empty()) {
                rules.push_back(std::move(declarations));
                declarations = Rule{};
                declarations.kind = RuleKind::NestedDeclarations;
            }
        };
        std::uint32_t& pos = input.begin;
        while (pos < input.end) {
            const Token& token = mValues[pos].token;
            if (token.is(TokenType::Whitespace) || token.is(TokenType::Semicolon)) {
                ++pos;
            } else if (token.is(TokenType::AtKeyword)) {
                flush();
                rules.push_back(consumeAtRule(input, depth));
            } else {
                const std::uint32_t mark = pos;
                if (auto declaration = consumeDeclaration(input)) {
                    declarations.declarations.push_back(std::move(*declaration));
                    continue;
                }
                pos = mark;
                if (auto rule = consumeQualifiedRule(input, true, true, depth)) {
                    flush();
                    rules.push_back(std::move(*rule));
                }
            }
        }
        flush();
        return rules;
    }

private:
    std::uint32_t nextSibling(std::uint32_t pos) const { return mValues[pos].end; }

    bool isToken(std::uint32_t pos, TokenType type) const {
        return !mValues[pos].hasContents() && mValues[pos].token.is(type);
    }

    // The standard's "consume an at-rule". Its validity is left to the caller. Only the top
    // level is not nested, and a "}" there is part of the prelude.
    Rule consumeAtRule(ValueRange& input, int depth) {
        std::uint32_t& pos = input.begin;
        Rule rule;
        rule.kind = RuleKind::At;
        rule.name = mValues[pos].token.value;
        ++pos;
        rule.prelude.begin = pos;
        while (pos < input.end) {
            if (isToken(pos, TokenType::Semicolon)) {
                rule.prelude.end = pos;
                ++pos;
                return rule;
            }
            if (mValues[pos].isBlock(TokenType::OpenCurly)) {
                rule.prelude.end = pos;
                rule.hasBlock = true;
                rule.rules = consumeBlock(pos, depth);
                pos = nextSibling(pos);
                return rule;
            }
            pos = nextSibling(pos);
        }
        rule.prelude.end = pos;
        return rule;
    }

    // The standard's "consume a qualified rule"; nothing when there is no block, or when the
    // prelude looks like a custom property (then what follows is skipped as a bad declaration
    // when nested, or the block alone at the top level). A rule that is returned may still be
    // invalid (its selector is checked later); either way it separates the declarations around
    // it, which is all the standard's invalid rule error does to the parse.
    std::optional<Rule> consumeQualifiedRule(ValueRange& input, bool stopAtSemicolon, bool nested,
                                             int depth) {
        std::uint32_t& pos = input.begin;
        Rule rule;
        rule.prelude.begin = pos;
        while (pos < input.end) {
            if (stopAtSemicolon && isToken(pos, TokenType::Semicolon)) {
                return std::nullopt;
            }
            if (mValues[pos].isBlock(TokenType::OpenCurly)) {
                rule.prelude.end = pos;
                if (looksLikeCustomProperty(rule.prelude)) {
                    if (nested) {
                        consumeRemnantsOfBadDeclaration(input);
                    } else {
                        pos = nextSibling(pos);
                    }
                    return std::nullopt;
                }
                rule.hasBlock = true;
                std::vector<Rule> items = consumeBlock(pos, depth);
                pos = nextSibling(pos);
                auto first = items.begin();
                if (first != items.end() && first->kind == RuleKind::NestedDeclarations) {
                    rule.declarations = std::move(first->declarations);
                    ++first;
                }
                rule.rules.assign(std::make_move_iterator(first),
                                  std::make_move_iterator(items.end()));
                return rule;
            }
            pos = nextSibling(pos);
        }
        return std::nullopt;
    }

    std::vector<Rule> consumeBlock(std::uint32_t block, int depth) {
        if (depth >= StyleSheetSyntax::kMaximumNesting) {
            return {};
        }
        return consumeBlockContents(contentsOf(mValues, block), depth + 1);
    }

    bool looksLikeCustomProperty(ValueRange prelude) const {
        std::uint32_t pos = skipWhitespace(prelude.begin, prelude.end);
        if (pos >= prelude.end || !isToken(pos, TokenType::Ident) ||
            !mValues[pos].token.value.starts_with("--")) {
            return false;
        }
        pos = skipWhitespace(nextSibling(pos), prelude.end);
        return pos < prelude.end && isToken(pos, TokenType::Colon);
    }

    std::uint32_t skipWhitespace(std::uint32_t pos, std::uint32_t end) const {
        while (pos < end && isToken(pos, TokenType::Whitespace)) {
            ++pos;
        }
        return pos;
    }

    void consumeRemnantsOfBadDeclaration(ValueRange& input) {
        std::uint32_t& pos = input.begin;
        while (pos < input.end) {
            if (isToken(pos, TokenType::Semicolon)) {
                ++pos;
                return;
            }
            pos = nextSibling(pos);
        }
    }

    // The standard's "consume a declaration" (always nested here): nothing when the input does
    // not start with a name and a colon, or when a {}-block shares a non-custom property's value
    // with anything else.
    std::optional<Declaration> consumeDeclaration(ValueRange& input) {
        std::uint32_t& pos = input.begin;
        if (!isToken(pos, TokenType::Ident)) {
            consumeRemnantsOfBadDeclaration(input);
            return std::nullopt;
        }
        Declaration declaration;
        declaration.name = mValues[pos].token.value;
        pos = skipWhitespace(pos + 1, input.end);
        if (pos >= input.end || !isToken(pos, TokenType::Colon)) {
            consumeRemnantsOfBadDeclaration(input);
            return std::nullopt;
        }
        pos = skipWhitespace(pos + 1, input.end);
        declaration.value.begin = pos;
        // The last three values that are not white space, for "!important" and the trim.
        std::uint32_t last[3] = {0, 0, 0};
        int seen = 0;
        int curlyBlocks = 0;
        int others = 0;
        while (pos < input.end && !isToken(pos, TokenType::Semicolon)) {
            if (!isToken(pos, TokenType::Whitespace)) {
                last[2] = last[1];
                last[1] = last[0];
                last[0] = pos;
                ++seen;
                if (mValues[pos].isBlock(TokenType::OpenCurly)) {
                    ++curlyBlocks;
                } else {
                    ++others;
                }
            }
            pos = nextSibling(pos);
        }
        declaration.value.end = seen > 0 ? nextSibling(last[0]) : declaration.value.begin;
        if (seen >= 2 && mValues[last[1]].token.isDelim('!') &&
            isToken(last[0], TokenType::Ident) &&
            equalsIgnoringAsciiCase(mValues[last[0]].token.value, "important")) {
            declaration.important = true;
            declaration.value.end = seen >= 3 ? nextSibling(last[2]) : declaration.value.begin;
            others -= 2;
        }
        if (!declaration.name.starts_with("--") && curlyBlocks > 0 && curlyBlocks + others > 1) {
            return std::nullopt;
        }
        return declaration;
    }

    const ComponentValues& mValues;
};

ValueRange everything(const ComponentValues& values) {
    return {0, static_cast<std::uint32_t>(values.size())};
}

}  // namespace

std::vector<std::uint32_t> significantValues(const ComponentValues& values, ValueRange range) {
    std::vector<std::uint32_t> items;
    for (std::uint32_t i = range.begin; i < range.end; i = values[i].end) {
        if (values[i].hasContents() || !values[i].token.is(TokenType::Whitespace)) {
            items.push_back(i);
        }
    }
    return items;
}

StyleSheetSyntax parseStyleSheet(std::string_view text) {
    StyleSheetSyntax sheet;
    sheet.values = groupComponentValues(tokenize(text));
    sheet.rules = RuleParser(sheet.values).consumeStyleSheetContents(everything(sheet.values));
    return sheet;
}

DeclarationListSyntax parseDeclarationList(std::string_view text) {
    DeclarationListSyntax list;
    list.values = groupComponentValues(tokenize(text));
    for (Rule& item : RuleParser(list.values).consumeBlockContents(everything(list.values), 1)) {
        if (item.kind == RuleKind::NestedDeclarations) {
            for (Declaration& declaration : item.declarations) {
                list.declarations.push_back(std::move(declaration));
            }
        }
    }
    return list;
}

ComponentValues parseComponentValues(std::string_view text) {
    return groupComponentValues(tokenize(text));
}

}  // namespace veltrano::html::css
