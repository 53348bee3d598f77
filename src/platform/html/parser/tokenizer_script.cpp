// The tokenizer's script data states. Everything they read is text of the run (the "<!--",
// "-->" and "<script" that switch between them included) except an appropriate end tag, so they
// only decide where the run ends and how the next character is read.
#include "platform/html/parser/tokenizer.h"

#include <algorithm>

#include "platform/html/parser/text_scan.h"

namespace veltrano::html::parser {
namespace {

bool isScript(std::string_view letters) {
    constexpr std::string_view kScript = "script";
    return letters.size() == kScript.size() &&
           std::equal(letters.begin(), letters.end(), kScript.begin(),
                      [](char a, char b) { return toAsciiLower(a) == b; });
}

}  // namespace

void Tokenizer::scriptDataState() {
    ensureTextRun();
    const std::size_t end = windowEnd();
    const char* p = findFirstOf<'<', '\0'>(mData + mPos, mData + end);
    mPos = static_cast<std::size_t>(p - mData);
    if (mPos == end) {
        textAtWindowEnd();
    } else if (*p == '<') {
        mMarkupStart = mPos++;
        mState = TokenizerState::ScriptDataLessThanSign;
    } else {
        replaceNull(mPos);
    }
}

void Tokenizer::scriptDataLessThanSignState() {
    if (mPos < mSize && mData[mPos] == '!') {
        ++mPos;
        mState = TokenizerState::ScriptDataEscapeStart;
    } else {
        textLessThanSign(TokenizerState::ScriptDataEndTagOpen, TokenizerState::ScriptData);
    }
}

void Tokenizer::scriptDataEscapeStartState() {
    if (mPos < mSize && mData[mPos] == '-') {
        ++mPos;
        mState = TokenizerState::ScriptDataEscapeStartDash;
    } else {
        mState = TokenizerState::ScriptData;
    }
}

void Tokenizer::scriptDataEscapeStartDashState() {
    if (mPos < mSize && mData[mPos] == '-') {
        ++mPos;
        mState = TokenizerState::ScriptDataEscapedDashDash;
    } else {
        mState = TokenizerState::ScriptData;
    }
}

void Tokenizer::scriptDataEscapedState() {
    const std::size_t end = windowEnd();
    const char* p = findFirstOf<'-', '<', '\0'>(mData + mPos, mData + end);
    mPos = static_cast<std::size_t>(p - mData);
    if (mPos == end) {
        textAtWindowEnd();
    } else if (*p == '-') {
        ++mPos;
        mState = TokenizerState::ScriptDataEscapedDash;
    } else if (*p == '<') {
        mMarkupStart = mPos++;
        mState = TokenizerState::ScriptDataEscapedLessThanSign;
    } else {
        replaceNull(mPos);
    }
}

// What the escaped and double escaped dash states do with the character after a dash: another
// dash goes on, '<' may start a tag (escaped) or not (double escaped), anything else goes back.
void Tokenizer::scriptDataEscapedCharacter(TokenizerState afterDash,
                                           TokenizerState afterLessThanSign,
                                           bool lessThanSignStartsTag) {
    const bool doubleEscaped = !lessThanSignStartsTag;
    const TokenizerState back =
        doubleEscaped ? TokenizerState::ScriptDataDoubleEscaped : TokenizerState::ScriptDataEscaped;
    if (mPos == mSize) {
        emitEndOfFileInText();
        return;
    }
    switch (mData[mPos]) {
        case '-':
            ++mPos;
            mState = afterDash;
            return;
        case '<':
            if (lessThanSignStartsTag) {
                mMarkupStart = mPos;
            }
            ++mPos;
            mState = afterLessThanSign;
            return;
        case '>':
            if (mState == TokenizerState::ScriptDataEscapedDashDash ||
                mState == TokenizerState::ScriptDataDoubleEscapedDashDash) {
                ++mPos;
                mState = TokenizerState::ScriptData;
                return;
            }
            break;
        case '\0':
            replaceNull(mPos);
            mState = back;
            return;
        default:
            break;
    }
    ++mPos;
    mState = back;
}

void Tokenizer::scriptDataEscapedDashState() {
    scriptDataEscapedCharacter(TokenizerState::ScriptDataEscapedDashDash,
                               TokenizerState::ScriptDataEscapedLessThanSign, true);
}

void Tokenizer::scriptDataEscapedDashDashState() {
    scriptDataEscapedCharacter(TokenizerState::ScriptDataEscapedDashDash,
                               TokenizerState::ScriptDataEscapedLessThanSign, true);
}

void Tokenizer::scriptDataEscapedLessThanSignState() {
    if (mPos < mSize && mData[mPos] == '/') {
        ++mPos;
        mState = TokenizerState::ScriptDataEscapedEndTagOpen;
    } else if (mPos < mSize && isAsciiAlpha(static_cast<unsigned char>(mData[mPos]))) {
        mTemporaryStart = mPos;
        mState = TokenizerState::ScriptDataDoubleEscapeStart;
    } else {
        mState = TokenizerState::ScriptDataEscaped;
    }
}

// The double escape start and end states: letters go to the temporary buffer; white space, '/'
// or '>' after them switch on whether the letters spell "script"; anything else goes back.
void Tokenizer::scriptDataTemporaryBufferEnd(TokenizerState isScriptState,
                                             TokenizerState otherwise) {
    const std::size_t end = windowEnd();
    std::size_t p = mPos;
    while (p < end && isAsciiAlpha(static_cast<unsigned char>(mData[p]))) {
        ++p;
    }
    mPos = p;
    if (p == end && p < mSize) {
        return;
    }
    const TokenizerState back = mState == TokenizerState::ScriptDataDoubleEscapeStart
                                    ? TokenizerState::ScriptDataEscaped
                                    : TokenizerState::ScriptDataDoubleEscaped;
    const char c = p < mSize ? mData[p] : '\0';
    if (p < mSize &&
        (isTokenizerWhitespace(static_cast<unsigned char>(c)) || c == '/' || c == '>')) {
        ++mPos;
        mState =
            isScript({mData + mTemporaryStart, p - mTemporaryStart}) ? isScriptState : otherwise;
    } else {
        mState = back;
    }
}

void Tokenizer::scriptDataDoubleEscapeStartState() {
    scriptDataTemporaryBufferEnd(TokenizerState::ScriptDataDoubleEscaped,
                                 TokenizerState::ScriptDataEscaped);
}

void Tokenizer::scriptDataDoubleEscapedState() {
    const std::size_t end = windowEnd();
    const char* p = findFirstOf<'-', '<', '\0'>(mData + mPos, mData + end);
    mPos = static_cast<std::size_t>(p - mData);
    if (mPos == end) {
        textAtWindowEnd();
    } else if (*p == '-') {
        ++mPos;
        mState = TokenizerState::ScriptDataDoubleEscapedDash;
    } else if (*p == '<') {
        ++mPos;
        mState = TokenizerState::ScriptDataDoubleEscapedLessThanSign;
    } else {
        replaceNull(mPos);
    }
}

void Tokenizer::scriptDataDoubleEscapedDashState() {
    scriptDataEscapedCharacter(TokenizerState::ScriptDataDoubleEscapedDashDash,
                               TokenizerState::ScriptDataDoubleEscapedLessThanSign, false);
}

void Tokenizer::scriptDataDoubleEscapedDashDashState() {
    scriptDataEscapedCharacter(TokenizerState::ScriptDataDoubleEscapedDashDash,
                               TokenizerState::ScriptDataDoubleEscapedLessThanSign, false);
}

void Tokenizer::scriptDataDoubleEscapedLessThanSignState() {
    if (mPos < mSize && mData[mPos] == '/') {
        mTemporaryStart = ++mPos;
        mState = TokenizerState::ScriptDataDoubleEscapeEnd;
    } else {
        mState = TokenizerState::ScriptDataDoubleEscaped;
    }
}

void Tokenizer::scriptDataDoubleEscapeEndState() {
    scriptDataTemporaryBufferEnd(TokenizerState::ScriptDataEscaped,
                                 TokenizerState::ScriptDataDoubleEscaped);
}

}  // namespace veltrano::html::parser
