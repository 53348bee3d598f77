#pragma once

#include <cstdint>
#include <string>

namespace veltrano::html::css {

// The tokens of CSS Syntax Level 3, named after the standard's <ident-token>, <function-token>...
enum class TokenType : std::uint8_t {
    Ident,
    Function,
    AtKeyword,
    Hash,
    String,
    BadString,
    Url,
    BadUrl,
    Delim,
    Number,
    Percentage,
    Dimension,
    Whitespace,
    Cdo,
    Cdc,
    Colon,
    Semicolon,
    Comma,
    OpenSquare,
    CloseSquare,
    OpenParen,
    CloseParen,
    OpenCurly,
    CloseCurly,
};

struct Token {
    TokenType type = TokenType::Whitespace;
    // A hash token whose value would start an ident sequence (the standard's type flag "id").
    bool isId = false;
    // A number, percentage or dimension written without a fraction or exponent.
    bool isInteger = false;
    // A number, percentage or dimension written with a leading "+" or "-".
    bool hasSign = false;
    char32_t delim = 0;
    double number = 0;
    // Ident, function (its name), at-keyword (without "@"), hash (without "#"), string, url:
    // the value with escapes resolved. Dimension: its unit.
    std::string value;

    bool is(TokenType t) const { return type == t; }
    bool isDelim(char32_t c) const { return type == TokenType::Delim && delim == c; }
};

}  // namespace veltrano::html::css
