#include "platform/html/css/css_tokenizer.h"

#include <charconv>
#include <string>

#include "platform/html/ascii_case.h"
#include "platform/html/utf8_writer.h"

namespace veltrano::html::css {
namespace {

constexpr int kEnd = -1;

bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

bool isHexDigit(int c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(int c) {
    if (isDigit(c)) {
        return c - '0';
    }
    return (c | 0x20) - 'a' + 10;
}

bool isWhitespace(int c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// Bytes from 0x80 on belong to non-ASCII code points, all of which are ident code points.
bool isIdentStart(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}

bool isIdentCodePoint(int c) {
    return isIdentStart(c) || isDigit(c) || c == '-';
}

bool isNonPrintable(int c) {
    return (c >= 0 && c <= 0x08) || c == 0x0B || (c >= 0x0E && c <= 0x1F) || c == 0x7F;
}

bool isValidEscape(int first, int second) {
    return first == '\\' && second != '\n' && second != kEnd;
}

bool wouldStartIdentSequence(int first, int second, int third) {
    if (first == '-') {
        return isIdentStart(second) || second == '-' || isValidEscape(second, third);
    }
    if (isIdentStart(first)) {
        return true;
    }
    return isValidEscape(first, second);
}

bool wouldStartNumber(int first, int second, int third) {
    if (first == '+' || first == '-') {
        return isDigit(second) || (second == '.' && isDigit(third));
    }
    if (first == '.') {
        return isDigit(second);
    }
    return isDigit(first);
}

// The standard's input preprocessing: CR LF, CR and FF become LF; NUL becomes U+FFFD.
std::string preprocess(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else if (c == '\f') {
            out += '\n';
        } else if (c == '\0') {
            appendUtf8(out, kReplacementCharacter);
        } else {
            out += c;
        }
    }
    return out;
}

class Tokenizer final {
public:
    explicit Tokenizer(std::string_view text) : mInput(preprocess(text)) {}

    std::vector<Token> run() {
        std::vector<Token> tokens;
        while (true) {
            consumeComments();
            if (mPos >= mInput.size()) {
                return tokens;
            }
            tokens.push_back(consumeToken());
        }
    }

private:
    int peek(std::size_t ahead = 0) const {
        const std::size_t at = mPos + ahead;
        return at < mInput.size() ? static_cast<unsigned char>(mInput[at]) : kEnd;
    }

    int next() { return mPos < mInput.size() ? static_cast<unsigned char>(mInput[mPos++]) : kEnd; }

    void consumeComments() {
        while (peek() == '/' && peek(1) == '*') {
            const std::size_t end = mInput.find("*/", mPos + 2);
            mPos = end == std::string::npos ? mInput.size() : end + 2;
        }
    }

    Token consumeToken() {
        const int c = next();
        Token token;
        if (isWhitespace(c)) {
            while (isWhitespace(peek())) {
                ++mPos;
            }
            token.type = TokenType::Whitespace;
            return token;
        }
        switch (c) {
            case '"':
            case '\'':
                return consumeString(c);
            case '#':
                if (isIdentCodePoint(peek()) || isValidEscape(peek(), peek(1))) {
                    token.type = TokenType::Hash;
                    token.isId = wouldStartIdentSequence(peek(), peek(1), peek(2));
                    token.value = consumeIdentSequence();
                    return token;
                }
                return delim(c);
            case '(':
                return simple(TokenType::OpenParen);
            case ')':
                return simple(TokenType::CloseParen);
            case '[':
                return simple(TokenType::OpenSquare);
            case ']':
                return simple(TokenType::CloseSquare);
            case '{':
                return simple(TokenType::OpenCurly);
            case '}':
                return simple(TokenType::CloseCurly);
            case ',':
                return simple(TokenType::Comma);
            case ':':
                return simple(TokenType::Colon);
            case ';':
                return simple(TokenType::Semicolon);
            case '+':
            case '.':
                if (wouldStartNumber(c, peek(), peek(1))) {
                    --mPos;
                    return consumeNumeric();
                }
                return delim(c);
            case '-':
                if (wouldStartNumber(c, peek(), peek(1))) {
                    --mPos;
                    return consumeNumeric();
                }
                if (peek() == '-' && peek(1) == '>') {
                    mPos += 2;
                    return simple(TokenType::Cdc);
                }
                if (wouldStartIdentSequence(c, peek(), peek(1))) {
                    --mPos;
                    return consumeIdentLike();
                }
                return delim(c);
            case '<':
                if (peek() == '!' && peek(1) == '-' && peek(2) == '-') {
                    mPos += 3;
                    return simple(TokenType::Cdo);
                }
                return delim(c);
            case '@':
                if (wouldStartIdentSequence(peek(), peek(1), peek(2))) {
                    token.type = TokenType::AtKeyword;
                    token.value = consumeIdentSequence();
                    return token;
                }
                return delim(c);
            case '\\':
                if (isValidEscape(c, peek())) {
                    --mPos;
                    return consumeIdentLike();
                }
                return delim(c);
            default:
                break;
        }
        if (isDigit(c)) {
            --mPos;
            return consumeNumeric();
        }
        if (isIdentStart(c)) {
            --mPos;
            return consumeIdentLike();
        }
        return delim(c);
    }

    static Token simple(TokenType type) {
        Token token;
        token.type = type;
        return token;
    }

    // Only ASCII code points reach here: every other one starts an ident sequence.
    static Token delim(int c) {
        Token token;
        token.type = TokenType::Delim;
        token.delim = static_cast<char32_t>(c);
        return token;
    }

    // After the backslash of a valid escape.
    void consumeEscapedCodePoint(std::string& out) {
        const int c = next();
        if (c == kEnd) {
            appendUtf8(out, kReplacementCharacter);
            return;
        }
        if (!isHexDigit(c)) {
            // A non-ASCII code point goes over byte by byte: its other bytes follow as ident
            // code points (or string content) anyway.
            out += static_cast<char>(c);
            return;
        }
        char32_t value = static_cast<char32_t>(hexValue(c));
        for (int digits = 1; digits < 6 && isHexDigit(peek()); ++digits) {
            value = value * 16 + static_cast<char32_t>(hexValue(next()));
        }
        if (isWhitespace(peek())) {
            ++mPos;
        }
        if (value == 0 || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) {
            value = kReplacementCharacter;
        }
        appendUtf8(out, value);
    }

    std::string consumeIdentSequence() {
        std::string out;
        while (true) {
            const int c = peek();
            if (isIdentCodePoint(c)) {
                out += static_cast<char>(c);
                ++mPos;
            } else if (isValidEscape(c, peek(1))) {
                ++mPos;
                consumeEscapedCodePoint(out);
            } else {
                return out;
            }
        }
    }

    Token consumeString(int ending) {
        Token token;
        token.type = TokenType::String;
        while (true) {
            const int c = next();
            if (c == ending || c == kEnd) {
                return token;
            }
            if (c == '\n') {
                --mPos;
                token.type = TokenType::BadString;
                return token;
            }
            if (c == '\\') {
                if (peek() == kEnd) {
                    continue;
                }
                if (peek() == '\n') {
                    ++mPos;
                    continue;
                }
                consumeEscapedCodePoint(token.value);
                continue;
            }
            token.value += static_cast<char>(c);
        }
    }

    Token consumeNumeric() {
        Token token;
        const std::size_t start = mPos;
        token.isInteger = true;
        if (peek() == '+' || peek() == '-') {
            token.hasSign = true;
            ++mPos;
        }
        while (isDigit(peek())) {
            ++mPos;
        }
        if (peek() == '.' && isDigit(peek(1))) {
            token.isInteger = false;
            mPos += 2;
            while (isDigit(peek())) {
                ++mPos;
            }
        }
        if ((peek() == 'e' || peek() == 'E') &&
            (isDigit(peek(1)) || ((peek(1) == '+' || peek(1) == '-') && isDigit(peek(2))))) {
            token.isInteger = false;
            mPos += 2;
            while (isDigit(peek())) {
                ++mPos;
            }
        }
        std::string_view representation(mInput.data() + start, mPos - start);
        if (representation.front() == '+') {
            representation.remove_prefix(1);
        }
        std::from_chars(representation.data(), representation.data() + representation.size(),
                        token.number);
        if (wouldStartIdentSequence(peek(), peek(1), peek(2))) {
            token.type = TokenType::Dimension;
            token.value = consumeIdentSequence();
        } else if (peek() == '%') {
            ++mPos;
            token.type = TokenType::Percentage;
        } else {
            token.type = TokenType::Number;
        }
        return token;
    }

    Token consumeIdentLike() {
        Token token;
        token.value = consumeIdentSequence();
        if (equalsIgnoringAsciiCase(token.value, "url") && peek() == '(') {
            ++mPos;
            while (isWhitespace(peek()) && isWhitespace(peek(1))) {
                ++mPos;
            }
            const int c = isWhitespace(peek()) ? peek(1) : peek();
            if (c == '"' || c == '\'') {
                token.type = TokenType::Function;
                return token;
            }
            return consumeUrl();
        }
        if (peek() == '(') {
            ++mPos;
            token.type = TokenType::Function;
            return token;
        }
        token.type = TokenType::Ident;
        return token;
    }

    Token consumeUrl() {
        Token token;
        token.type = TokenType::Url;
        while (isWhitespace(peek())) {
            ++mPos;
        }
        while (true) {
            const int c = next();
            if (c == ')' || c == kEnd) {
                return token;
            }
            if (isWhitespace(c)) {
                while (isWhitespace(peek())) {
                    ++mPos;
                }
                if (peek() == ')' || peek() == kEnd) {
                    next();
                    return token;
                }
                return badUrl();
            }
            if (c == '"' || c == '\'' || c == '(' || isNonPrintable(c)) {
                return badUrl();
            }
            if (c == '\\') {
                if (!isValidEscape(c, peek())) {
                    return badUrl();
                }
                consumeEscapedCodePoint(token.value);
                continue;
            }
            token.value += static_cast<char>(c);
        }
    }

    // Consumes the remnants of a bad url: up to and with the next ")" that is not escaped.
    Token badUrl() {
        while (true) {
            const int c = next();
            if (c == ')' || c == kEnd) {
                break;
            }
            if (isValidEscape(c, peek())) {
                std::string ignored;
                consumeEscapedCodePoint(ignored);
            }
        }
        return simple(TokenType::BadUrl);
    }

    std::string mInput;
    std::size_t mPos = 0;
};

}  // namespace

std::vector<Token> tokenize(std::string_view text) {
    return Tokenizer(text).run();
}

}  // namespace veltrano::html::css
