// The tokenizer's markup declaration open state, its comment states and CDATA sections.
//
// A comment's data is always what the input holds from the comment's start on (with U+0000 as
// U+FFFD): the states that hold back dashes, "--!" or "<!" append exactly those characters
// later, or drop them at the comment's end. So the run takes the held-back characters from the
// input when a state appends them (takeFromRun) instead of writing them.
#include "platform/html/parser/tokenizer.h"

#include <algorithm>

#include "platform/html/parser/text_scan.h"

namespace veltrano::html::parser {
namespace {

bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view lowerPrefix) {
    return text.size() >= lowerPrefix.size() &&
           std::equal(lowerPrefix.begin(), lowerPrefix.end(), text.begin(),
                      [](char a, char b) { return a == toAsciiLower(b); });
}

}  // namespace

void Tokenizer::markupDeclarationOpenState() {
    // Whatever follows, the text before the '<' is complete; the sink must have it before it
    // says whether a CDATA section may start.
    flushText(mMarkupStart);
    const std::string_view rest(mData + mPos, mSize - mPos);
    if (rest.starts_with("--")) {
        mPos += 2;
        beginComment(mPos);
        mState = TokenizerState::CommentStart;
    } else if (startsWithIgnoringAsciiCase(rest, "doctype")) {
        mPos += 7;
        startDoctype();
        mState = TokenizerState::Doctype;
    } else if (rest.starts_with("[CDATA[")) {
        mPos += 7;
        if (mSink.adjustedCurrentNodeIsForeign()) {
            mState = TokenizerState::CdataSection;
        } else {
            beginComment(mPos - 7);
            mState = TokenizerState::BogusComment;
        }
    } else {
        beginComment(mPos);
        mState = TokenizerState::BogusComment;
    }
}

void Tokenizer::beginComment(std::size_t at) {
    mRun.begin(at);
}

void Tokenizer::emitComment() {
    mState = TokenizerState::Data;
    Token token;
    token.kind = TokenKind::Comment;
    token.text = mRun.finish();
    mSink.processToken(token);
}

void Tokenizer::bogusCommentState() {
    const std::size_t end = windowEnd();
    const char* p = findFirstOf<'>', '\0'>(mData + mPos, mData + end);
    mPos = static_cast<std::size_t>(p - mData);
    if (mPos == mSize) {
        mRun.takeTo(mPos);
        emitComment();
        emitEndOfFile();
    } else if (mPos == end) {
        mRun.takeTo(mPos);
    } else if (*p == '>') {
        mRun.takeTo(mPos++);
        emitComment();
    } else {
        replaceNull(mPos);
    }
}

void Tokenizer::commentStartState() {
    if (mPos < mSize && mData[mPos] == '-') {
        ++mPos;
        mState = TokenizerState::CommentStartDash;
    } else if (mPos < mSize && mData[mPos] == '>') {
        ++mPos;
        emitComment();
    } else {
        mState = TokenizerState::Comment;
    }
}

void Tokenizer::commentStartDashState() {
    if (mPos == mSize) {
        emitComment();
        emitEndOfFile();
    } else if (mData[mPos] == '-') {
        ++mPos;
        mState = TokenizerState::CommentEnd;
    } else if (mData[mPos] == '>') {
        ++mPos;
        emitComment();
    } else {
        takeFromRun(1);
        mState = TokenizerState::Comment;
    }
}

void Tokenizer::commentState() {
    const std::size_t end = windowEnd();
    const char* p = findFirstOf<'<', '-', '\0'>(mData + mPos, mData + end);
    mPos = static_cast<std::size_t>(p - mData);
    if (mPos == mSize) {
        mRun.takeTo(mPos);
        emitComment();
        emitEndOfFile();
    } else if (mPos == end) {
        mRun.takeTo(mPos);
    } else if (*p == '<') {
        mRun.takeTo(++mPos);
        mState = TokenizerState::CommentLessThanSign;
    } else if (*p == '-') {
        mRun.takeTo(mPos++);
        mState = TokenizerState::CommentEndDash;
    } else {
        replaceNull(mPos);
    }
}

void Tokenizer::commentLessThanSignState() {
    if (mPos < mSize && mData[mPos] == '!') {
        takeFromRun(1);
        ++mPos;
        mState = TokenizerState::CommentLessThanSignBang;
    } else if (mPos < mSize && mData[mPos] == '<') {
        takeFromRun(1);
        ++mPos;
    } else {
        mState = TokenizerState::Comment;
    }
}

void Tokenizer::commentLessThanSignBangState() {
    if (mPos < mSize && mData[mPos] == '-') {
        ++mPos;
        mState = TokenizerState::CommentLessThanSignBangDash;
    } else {
        mState = TokenizerState::Comment;
    }
}

void Tokenizer::commentLessThanSignBangDashState() {
    if (mPos < mSize && mData[mPos] == '-') {
        ++mPos;
        mState = TokenizerState::CommentLessThanSignBangDashDash;
    } else {
        mState = TokenizerState::CommentEndDash;
    }
}

void Tokenizer::commentLessThanSignBangDashDashState() {
    // "<!--" nested in a comment is a parse error, and otherwise changes nothing.
    mState = TokenizerState::CommentEnd;
}

void Tokenizer::commentEndDashState() {
    if (mPos == mSize) {
        emitComment();
        emitEndOfFile();
    } else if (mData[mPos] == '-') {
        ++mPos;
        mState = TokenizerState::CommentEnd;
    } else {
        takeFromRun(1);
        mState = TokenizerState::Comment;
    }
}

void Tokenizer::commentEndState() {
    if (mPos == mSize) {
        emitComment();
        emitEndOfFile();
        return;
    }
    switch (mData[mPos]) {
        case '>':
            ++mPos;
            emitComment();
            return;
        case '!':
            ++mPos;
            mState = TokenizerState::CommentEndBang;
            return;
        case '-':
            takeFromRun(1);
            ++mPos;
            return;
        default:
            takeFromRun(2);
            mState = TokenizerState::Comment;
            return;
    }
}

void Tokenizer::commentEndBangState() {
    if (mPos == mSize) {
        emitComment();
        emitEndOfFile();
    } else if (mData[mPos] == '-') {
        takeFromRun(3);
        ++mPos;
        mState = TokenizerState::CommentEndDash;
    } else if (mData[mPos] == '>') {
        ++mPos;
        emitComment();
    } else {
        takeFromRun(3);
        mState = TokenizerState::Comment;
    }
}

// ---- CDATA sections -----------------------------------------------------------------------
// The section's characters are a text run like any other; "]]>" is left out of it, and the
// text after the section continues the run.

void Tokenizer::cdataSectionState() {
    ensureTextRun();
    const std::size_t end = windowEnd();
    const char* p = findFirstOf<']', '\0'>(mData + mPos, mData + end);
    mPos = static_cast<std::size_t>(p - mData);
    if (mPos == end) {
        textAtWindowEnd();
    } else if (*p == ']') {
        ++mPos;
        mState = TokenizerState::CdataSectionBracket;
    } else {
        emitNullCharacter(mPos);
    }
}

void Tokenizer::cdataSectionBracketState() {
    if (mPos < mSize && mData[mPos] == ']') {
        ++mPos;
        mState = TokenizerState::CdataSectionEnd;
    } else {
        mState = TokenizerState::CdataSection;
    }
}

void Tokenizer::cdataSectionEndState() {
    if (mPos < mSize && mData[mPos] == ']') {
        ++mPos;
    } else if (mPos < mSize && mData[mPos] == '>') {
        mRun.takeTo(mPos - 2);
        mRun.skipTo(++mPos);
        mState = TokenizerState::Data;
    } else {
        mState = TokenizerState::CdataSection;
    }
}

}  // namespace veltrano::html::parser
