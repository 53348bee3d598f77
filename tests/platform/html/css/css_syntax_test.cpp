#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "platform/html/css/css_parser.h"
#include "platform/html/css/css_tokenizer.h"

namespace veltrano::html::css {
namespace {

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string dumpToken(const Token& token) {
    switch (token.type) {
        case TokenType::Ident:
            return "ident(" + token.value + ")";
        case TokenType::Function:
            return "function(" + token.value + ")";
        case TokenType::AtKeyword:
            return "at(" + token.value + ")";
        case TokenType::Hash:
            return "hash(" + token.value + (token.isId ? ",id)" : ")");
        case TokenType::String:
            return "string(" + token.value + ")";
        case TokenType::BadString:
            return "bad-string";
        case TokenType::Url:
            return "url(" + token.value + ")";
        case TokenType::BadUrl:
            return "bad-url";
        case TokenType::Delim: {
            std::string out = "delim(";
            out += static_cast<char>(token.delim);
            return out + ")";
        }
        case TokenType::Number:
            return "number(" + number(token.number) + (token.isInteger ? ",int" : "") +
                   (token.hasSign ? ",signed)" : ")");
        case TokenType::Percentage:
            return "percentage(" + number(token.number) + ")";
        case TokenType::Dimension:
            return "dimension(" + number(token.number) + "," + token.value + ")";
        case TokenType::Whitespace:
            return "ws";
        case TokenType::Cdo:
            return "cdo";
        case TokenType::Cdc:
            return "cdc";
        case TokenType::Colon:
            return ":";
        case TokenType::Semicolon:
            return ";";
        case TokenType::Comma:
            return ",";
        case TokenType::OpenSquare:
            return "[";
        case TokenType::CloseSquare:
            return "]";
        case TokenType::OpenParen:
            return "(";
        case TokenType::CloseParen:
            return ")";
        case TokenType::OpenCurly:
            return "{";
        case TokenType::CloseCurly:
            return "}";
    }
    return "?";
}

struct TokenCase {
    const char* name;
    std::string_view input;
    const char* expected;
};

class Tokenizing : public testing::TestWithParam<TokenCase> {};

TEST_P(Tokenizing, GivesTheStandardsTokens) {
    std::string dump;
    for (const Token& token : tokenize(GetParam().input)) {
        dump += (dump.empty() ? "" : " ") + dumpToken(token);
    }
    EXPECT_EQ(dump, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, Tokenizing,
    testing::Values(
        TokenCase{"IdentsWithEscapes", "a\\62 c \\31 23 -\\-x",
                  "ident(abc) ws ident(123) ws ident(--x)"},
        TokenCase{"EscapesOutOfRangeBecomeReplacementCharacters", "\\0 \\110000 \\D800",
                  "ident(\uFFFD\uFFFD\uFFFD)"},
        TokenCase{"BackslashBeforeNewlineIsADelim", "\\\nx", "delim(\\) ws ident(x)"},
        TokenCase{"NumbersAndDimensions", "12 +3.5 -.5e2 4px 50% 1e3x 2n+1",
                  "number(12,int) ws number(3.5,signed) ws number(-50,signed) ws "
                  "dimension(4,px) ws percentage(50) ws dimension(1000,x) ws dimension(2,n) "
                  "number(1,int,signed)"},
        TokenCase{"Strings", "\"a\\\"b\" 'c\\\nd' \"e", "string(a\"b) ws string(cd) ws string(e)"},
        TokenCase{"NewlineEndsAStringBadly", "\"x\ny\"", "bad-string ws ident(y) string()"},
        TokenCase{"Urls", "url(a.png) url( \"b\" ) url(c d) url(e\\)f) URL(g) url()",
                  "url(a.png) ws function(url) ws string(b) ws ) ws bad-url ws url(e)f) ws "
                  "url(g) ws url()"},
        TokenCase{"CommentsCdoAndCdc", "a/* x */b <!-- --> /* never closed",
                  "ident(a) ident(b) ws cdo ws cdc ws"},
        TokenCase{"HashesWithAndWithoutIdFlag", "#abc #1a #-x",
                  "hash(abc,id) ws hash(1a) ws hash(-x,id)"},
        TokenCase{"AtKeywordsAndDelims", "@media @-x @1 ! ~=",
                  "at(media) ws at(-x) ws delim(@) number(1,int) ws delim(!) ws delim(~) delim(=)"},
        TokenCase{"NewlinesAndNulArePreprocessed", std::string_view("a\r\nb\fc\0", 7),
                  "ident(a) ws ident(b) ws ident(c\uFFFD)"},
        TokenCase{"NonAsciiStartsAnIdent", "\u00e9t\u00e9 .\u65e5",
                  "ident(\u00e9t\u00e9) ws delim(.) ident(\u65e5)"},
        TokenCase{"Punctuation", ":;,[](){}", ": ; , [ ] ( ) { }"}),
    [](const testing::TestParamInfo<TokenCase>& row) { return std::string(row.param.name); });

// Component values written back compactly: blocks and functions with their contents.
std::string dumpValues(const ComponentValues& values, ValueRange range) {
    std::string out;
    for (std::uint32_t i = range.begin; i < range.end; i = values[i].end) {
        const ComponentValue& value = values[i];
        const Token& token = value.token;
        if (value.isFunction()) {
            out += token.value + "(" + dumpValues(values, contentsOf(values, i)) + ")";
        } else if (value.isBlock(TokenType::OpenCurly)) {
            out += "{" + dumpValues(values, contentsOf(values, i)) + "}";
        } else if (value.isBlock(TokenType::OpenSquare)) {
            out += "[" + dumpValues(values, contentsOf(values, i)) + "]";
        } else if (value.isBlock(TokenType::OpenParen)) {
            out += "(" + dumpValues(values, contentsOf(values, i)) + ")";
        } else if (token.is(TokenType::Whitespace)) {
            out += " ";
        } else if (token.is(TokenType::Ident) || token.is(TokenType::AtKeyword)) {
            out += token.value;
        } else if (token.is(TokenType::String)) {
            out += "\"" + token.value + "\"";
        } else if (token.is(TokenType::Delim)) {
            out += static_cast<char>(token.delim);
        } else if (token.is(TokenType::Number)) {
            out += number(token.number);
        } else if (token.is(TokenType::Hash)) {
            out += "#" + token.value;
        } else {
            out += dumpToken(token);
        }
    }
    return out;
}

std::string dumpDeclarations(const ComponentValues& values, const std::vector<Declaration>& list) {
    std::string out;
    for (const Declaration& declaration : list) {
        out += (out.empty() ? "" : "; ") + declaration.name + ":" +
               dumpValues(values, declaration.value) + (declaration.important ? "!" : "");
    }
    return out;
}

std::string dumpRules(const ComponentValues& values, const std::vector<Rule>& rules) {
    std::string out;
    for (const Rule& rule : rules) {
        if (!out.empty()) {
            out += " ";
        }
        if (rule.kind == RuleKind::NestedDeclarations) {
            out += "decls{" + dumpDeclarations(values, rule.declarations) + "}";
            continue;
        }
        out += (rule.kind == RuleKind::At ? "@" + rule.name : std::string("rule")) + "[" +
               dumpValues(values, rule.prelude) + "]";
        if (!rule.hasBlock) {
            out += ";";
            continue;
        }
        std::string inside = dumpDeclarations(values, rule.declarations);
        const std::string nested = dumpRules(values, rule.rules);
        if (!nested.empty()) {
            inside += (inside.empty() ? "" : "; ") + nested;
        }
        out += "{" + inside + "}";
    }
    return out;
}

struct ParseCase {
    const char* name;
    const char* sheet;
    const char* expected;
};

class ParsingAStyleSheet : public testing::TestWithParam<ParseCase> {};

TEST_P(ParsingAStyleSheet, RecoversFromErrorsAsTheStandardSays) {
    const StyleSheetSyntax sheet = parseStyleSheet(GetParam().sheet);
    EXPECT_EQ(dumpRules(sheet.values, sheet.rules), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, ParsingAStyleSheet,
    testing::Values(
        ParseCase{"DeclarationsAndImportance",
                  "a { color : red ; b: c !IMPORTANT; d:e ! important }",
                  "rule[a ]{color:red; b:c!; d:e!}"},
        ParseCase{"BadDeclarationsSkippedToTheirSemicolon",
                  "a { x; color: red; 1: 2; ok: yes; y: z }", "rule[a ]{color:red; ok:yes; y:z}"},
        ParseCase{"NestedRulesKeepTheirPlace", "a { color: red; b { x: y } z: w }",
                  "rule[a ]{color:red; rule[b ]{x:y} decls{z:w}}"},
        ParseCase{"DeclarationWithABlockIsReadAgainAsARule", "a { b:hover { x: y } c: d }",
                  "rule[a ]{rule[b:hover ]{x:y} decls{c:d}}"},
        ParseCase{"BlockWithOtherValuesIsNoDeclaration", "a { b: {c} d; e: f }",
                  "rule[a ]{rule[b: ]{} decls{e:f}}"},
        ParseCase{"CustomPropertyMayHoldABlock", "a { --x: {y}; e: f }", "rule[a ]{--x:{y}; e:f}"},
        ParseCase{"TopLevelRuleLikeACustomPropertyIsDropped", "--x: { a: b } c { d: e }",
                  "rule[c ]{d:e}"},
        ParseCase{"StrayCloseBraceJoinsTheNextPrelude", "} a { x: y } b { z: w }",
                  "rule[} a ]{x:y} rule[b ]{z:w}"},
        ParseCase{"SemicolonsDoNotEndATopLevelPrelude", "a; b { c: d }", "rule[a; b ]{c:d}"},
        ParseCase{"CdoAndCdcAreSkippedAtTheTopLevel", "<!-- a { b: c } -->", "rule[a ]{b:c}"},
        ParseCase{"AtRulesWithAndWithoutBlocks",
                  "@import \"x.css\" screen; @media screen { a { b: c } d: e }",
                  "@import[ \"x.css\" screen]; @media[ screen ]{rule[a ]{b:c} decls{d:e}}"},
        ParseCase{"AtRuleAmongDeclarations", "a { b: c; @media print { d: e } f: g }",
                  "rule[a ]{b:c; @media[ print ]{decls{d:e}} decls{f:g}}"},
        ParseCase{"EndOfSheetClosesEverything", "a { b: c; d { e: f",
                  "rule[a ]{b:c; rule[d ]{e:f}}"},
        ParseCase{"RuleWithoutBlockIsDropped", "a { b: c } d", "rule[a ]{b:c}"},
        ParseCase{"ParenthesesHideBracesAndSemicolons", "a { b: f(;}) c; d: e }",
                  "rule[a ]{b:f(;}) c; d:e}"},
        ParseCase{"InvalidNestedRuleStillSeparatesDeclarations", "a { b: c; .x <::> {} d: e }",
                  "rule[a ]{b:c; rule[.x <::> ]{} decls{d:e}}"}),
    [](const testing::TestParamInfo<ParseCase>& row) { return std::string(row.param.name); });

TEST(DeclarationList, ReadsAStyleAttributeWithTheSameRules) {
    const DeclarationListSyntax list =
        parseDeclarationList("color: red; display : none !important; x; a { b: c } top: 0");
    EXPECT_EQ(dumpDeclarations(list.values, list.declarations), "color:red; display:none!; top:0");
}

TEST(ComponentValues, NestingDeepEnoughToExhaustTheStackIsHandled) {
    const std::string deep(200000, '(');
    const StyleSheetSyntax sheet = parseStyleSheet("a { b: " + deep + " } c { d: e }");
    ASSERT_EQ(sheet.rules.size(), 1u);  // the open parentheses swallow the rest of the sheet
    EXPECT_EQ(sheet.rules[0].declarations.size(), 1u);

    std::string blocks;
    for (int i = 0; i < 100000; ++i) {
        blocks += "a{";
    }
    EXPECT_EQ(parseStyleSheet(blocks).rules.size(), 1u);
}

}  // namespace
}  // namespace veltrano::html::css
