// The tokenizer's DOCTYPE states. Doctypes are rare and short, so their name and identifiers
// are copied into the Doctype the token points to rather than kept as spans.
#include "platform/html/parser/tokenizer.h"

#include <algorithm>

#include "platform/html/parser/character_reference.h"
#include "platform/html/parser/text_scan.h"

namespace veltrano::html::parser {
namespace {

bool matchesIgnoringAsciiCase(std::string_view text, std::string_view upperWord) {
    return text.size() >= upperWord.size() &&
           std::equal(upperWord.begin(), upperWord.end(), text.begin(), [](char a, char b) {
               return a == static_cast<char>(
                               isAsciiAlpha(static_cast<unsigned char>(b)) ? (b & ~0x20) : b);
           });
}

}  // namespace

void Tokenizer::startDoctype() {
    mDoctype.name.clear();
    mDoctype.publicId.reset();
    mDoctype.systemId.reset();
    mForceQuirks = false;
}

void Tokenizer::emitDoctype() {
    mState = TokenizerState::Data;
    Token token;
    token.kind = TokenKind::Doctype;
    token.doctype = &mDoctype;
    token.forceQuirks = mForceQuirks;
    mSink.processToken(token);
}

void Tokenizer::emitDoctypeAtEndOfFile() {
    mForceQuirks = true;
    emitDoctype();
    emitEndOfFile();
}

// Skips white space within the window; false when the window ended before anything else.
bool Tokenizer::skipWhitespace() {
    const std::size_t end = windowEnd();
    while (mPos < end && isTokenizerWhitespace(static_cast<unsigned char>(mData[mPos]))) {
        ++mPos;
    }
    return mPos < end || mPos == mSize;
}

void Tokenizer::doctypeState() {
    if (mPos == mSize) {
        emitDoctypeAtEndOfFile();
        return;
    }
    if (isTokenizerWhitespace(static_cast<unsigned char>(mData[mPos]))) {
        ++mPos;
    }
    mState = TokenizerState::BeforeDoctypeName;
}

void Tokenizer::beforeDoctypeNameState() {
    if (!skipWhitespace()) {
        return;
    }
    if (mPos == mSize) {
        emitDoctypeAtEndOfFile();
        return;
    }
    if (mData[mPos] == '>') {
        ++mPos;
        mForceQuirks = true;
        emitDoctype();
        return;
    }
    mState = TokenizerState::DoctypeName;
    doctypeNameState();
}

void Tokenizer::doctypeNameState() {
    const std::size_t end = windowEnd();
    for (; mPos < end; ++mPos) {
        const char c = mData[mPos];
        if (isTokenizerWhitespace(static_cast<unsigned char>(c))) {
            ++mPos;
            mState = TokenizerState::AfterDoctypeName;
            return;
        }
        if (c == '>') {
            ++mPos;
            emitDoctype();
            return;
        }
        if (c == '\0') {
            mDoctype.name += kReplacementCharacter;
        } else {
            mDoctype.name += toAsciiLower(c);
        }
    }
    if (mPos == mSize) {
        emitDoctypeAtEndOfFile();
    }
}

void Tokenizer::afterDoctypeNameState() {
    if (!skipWhitespace()) {
        return;
    }
    if (mPos == mSize) {
        emitDoctypeAtEndOfFile();
        return;
    }
    const std::string_view rest(mData + mPos, mSize - mPos);
    if (rest.front() == '>') {
        ++mPos;
        emitDoctype();
    } else if (matchesIgnoringAsciiCase(rest, "PUBLIC")) {
        mPos += 6;
        mState = TokenizerState::AfterDoctypePublicKeyword;
    } else if (matchesIgnoringAsciiCase(rest, "SYSTEM")) {
        mPos += 6;
        mState = TokenizerState::AfterDoctypeSystemKeyword;
    } else {
        mForceQuirks = true;
        mState = TokenizerState::BogusDoctype;
    }
}

// The after DOCTYPE public keyword and after DOCTYPE system keyword states.
void Tokenizer::afterDoctypeKeyword(TokenizerState beforeIdentifier, TokenizerState doubleQuoted,
                                    TokenizerState singleQuoted, std::optional<std::string>& id) {
    if (mPos < mSize && isTokenizerWhitespace(static_cast<unsigned char>(mData[mPos]))) {
        ++mPos;
        mState = beforeIdentifier;
        return;
    }
    beforeDoctypeIdentifier(doubleQuoted, singleQuoted, id);
}

// The before DOCTYPE public identifier and before DOCTYPE system identifier states; also what
// the keyword states do when no white space follows the keyword (a parse error that changes
// nothing else).
void Tokenizer::beforeDoctypeIdentifier(TokenizerState doubleQuoted, TokenizerState singleQuoted,
                                        std::optional<std::string>& id) {
    if (!skipWhitespace()) {
        return;
    }
    if (mPos == mSize) {
        emitDoctypeAtEndOfFile();
        return;
    }
    const char c = mData[mPos];
    if (c == '"' || c == '\'') {
        ++mPos;
        id.emplace();
        mState = c == '"' ? doubleQuoted : singleQuoted;
    } else if (c == '>') {
        ++mPos;
        mForceQuirks = true;
        emitDoctype();
    } else {
        mForceQuirks = true;
        mState = TokenizerState::BogusDoctype;
    }
}

// The four DOCTYPE public and system identifier states, quoted either way.
void Tokenizer::doctypeIdentifier(char quote, std::string& id, TokenizerState after) {
    const std::size_t end = windowEnd();
    for (; mPos < end; ++mPos) {
        const char c = mData[mPos];
        if (c == quote) {
            ++mPos;
            mState = after;
            return;
        }
        if (c == '>') {
            ++mPos;
            mForceQuirks = true;
            emitDoctype();
            return;
        }
        if (c == '\0') {
            id += kReplacementCharacter;
        } else {
            id += c;
        }
    }
    if (mPos == mSize) {
        emitDoctypeAtEndOfFile();
    }
}

void Tokenizer::afterDoctypePublicIdentifierState() {
    if (mPos < mSize && isTokenizerWhitespace(static_cast<unsigned char>(mData[mPos]))) {
        ++mPos;
        mState = TokenizerState::BetweenDoctypePublicAndSystemIdentifiers;
        return;
    }
    betweenDoctypePublicAndSystemIdentifiersState();
}

// Also what the after DOCTYPE public identifier state does with anything but white space.
void Tokenizer::betweenDoctypePublicAndSystemIdentifiersState() {
    if (!skipWhitespace()) {
        return;
    }
    if (mPos < mSize && mData[mPos] == '>') {
        ++mPos;
        emitDoctype();
        return;
    }
    beforeDoctypeIdentifier(TokenizerState::DoctypeSystemIdentifierDoubleQuoted,
                            TokenizerState::DoctypeSystemIdentifierSingleQuoted, mDoctype.systemId);
}

void Tokenizer::afterDoctypeSystemIdentifierState() {
    if (!skipWhitespace()) {
        return;
    }
    if (mPos == mSize) {
        emitDoctypeAtEndOfFile();
    } else if (mData[mPos] == '>') {
        ++mPos;
        emitDoctype();
    } else {
        // Unlike the other states, this one leaves the doctype's quirks as they are.
        mState = TokenizerState::BogusDoctype;
    }
}

void Tokenizer::bogusDoctypeState() {
    const std::size_t end = windowEnd();
    mPos = static_cast<std::size_t>(findFirstOf<'>'>(mData + mPos, mData + end) - mData);
    if (mPos == mSize) {
        emitDoctype();
        emitEndOfFile();
    } else if (mPos < end) {
        ++mPos;
        emitDoctype();
    }
}

}  // namespace veltrano::html::parser
