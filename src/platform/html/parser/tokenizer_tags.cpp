// The tokenizer's tag open, end tag open and tag name states, the rare paths of names (a U+0000
// in one, a name not in the cache; the usual path is inline in tokenizer.h), and the end tags
// that close RCDATA, RAWTEXT and script data.
#include "platform/html/parser/tokenizer.h"

#include <algorithm>
#include <array>

#include "platform/html/parser/character_reference.h"
#include "platform/html/parser/text_scan.h"

namespace veltrano::html::parser {

void Tokenizer::tagOpenState() {
    if (mPos == mSize) {
        emitEndOfFileInText();
        return;
    }
    const char c = mData[mPos];
    if (c == '!') {
        ++mPos;
        mState = TokenizerState::MarkupDeclarationOpen;
    } else if (c == '/') {
        ++mPos;
        mState = TokenizerState::EndTagOpen;
        endTagOpenState();
    } else if (isAsciiAlpha(static_cast<unsigned char>(c))) {
        flushText(mMarkupStart);
        startTag(false);
        mState = TokenizerState::TagName;
        tagNameState();
    } else if (c == '?') {
        flushText(mMarkupStart);
        beginComment(mPos);
        mState = TokenizerState::BogusComment;
    } else {
        // The '<' was text after all and stays in the run.
        mState = TokenizerState::Data;
    }
}

void Tokenizer::endTagOpenState() {
    if (mPos == mSize) {
        emitEndOfFileInText();
        return;
    }
    const char c = mData[mPos];
    if (isAsciiAlpha(static_cast<unsigned char>(c))) {
        flushText(mMarkupStart);
        startTag(true);
        mState = TokenizerState::TagName;
        tagNameState();
    } else if (c == '>') {
        // "</>" is dropped; the text on either side stays one run.
        mRun.takeTo(mMarkupStart);
        mRun.skipTo(++mPos);
        mState = TokenizerState::Data;
    } else {
        flushText(mMarkupStart);
        beginComment(mPos);
        mState = TokenizerState::BogusComment;
    }
}

void Tokenizer::tagNameState() {
    if (!consumeName(false)) {
        if (mPos == mSize) {
            emitEndOfFile();
        }
        return;
    }
    mTagName = internName();
    const char c = mData[mPos++];
    if (c == '>') {
        emitTag();
    } else if (c == '/') {
        mState = TokenizerState::SelfClosingStartTag;
    } else {
        mState = TokenizerState::BeforeAttributeName;
    }
}

void Tokenizer::startTag(bool endTag) {
    mEndTag = endTag;
    mSelfClosing = false;
    mAttributes.clear();
    if (++mTagStamp == 0) {
        std::fill(mAttributeSeen.begin(), mAttributeSeen.end(), 0);
        mTagStamp = 1;
    }
    beginName(mPos);
}

void Tokenizer::beginName(std::size_t at) {
    mNameStart = at;
    mNameBuffered = false;
}

// The rest of a name that holds U+0000, which goes to mNameBuffer (see consumeName).
bool Tokenizer::consumeBufferedName(bool attributeName) {
    if (!mNameBuffered) {
        mNameBuffered = true;
        mNameBuffer.assign(mData + mNameStart, mPos - mNameStart);
    }
    const std::array<NameByte, 256>& classes = attributeName ? kAttributeNameBytes : kTagNameBytes;
    const std::size_t end = windowEnd();
    for (; mPos < end; ++mPos) {
        const char c = mData[mPos];
        switch (classes[static_cast<unsigned char>(c)]) {
            case NameByte::Plain:
                mNameBuffer += c;
                break;
            case NameByte::Upper:
                mNameBuffer += static_cast<char>(c | 0x20);
                break;
            case NameByte::Null:
                mNameBuffer += kReplacementCharacter;
                break;
            case NameByte::Stop:
                return true;
        }
    }
    return false;
}

// Out of line, so that a hit in the cache need not save what the NameTable's lookup uses.
void Tokenizer::cacheName(CachedName& cached, std::uint64_t bytes, std::string_view name) {
    cached = {bytes, mNames.intern(name)};
}

void Tokenizer::emitTag() {
    // Before the sink sees the tag, which may switch the state (to RCDATA after <title>).
    mState = TokenizerState::Data;
    Token token;
    token.kind = mEndTag ? TokenKind::EndTag : TokenKind::StartTag;
    token.name = mTagName;
    token.selfClosing = mSelfClosing;
    if (!mEndTag) {
        token.attributes = mAttributes;
        mHasLastStartTag = true;
        mLastStartTagName = mTagName;
    }
    mSink.processToken(token);
}

// ---- End tags in RCDATA, RAWTEXT and script data -----------------------------------------

void Tokenizer::textLessThanSign(TokenizerState endTagOpen, TokenizerState text) {
    if (mPos < mSize && mData[mPos] == '/') {
        ++mPos;
        mState = endTagOpen;
    } else {
        mState = text;
    }
}

void Tokenizer::textEndTagOpen(TokenizerState endTagName, TokenizerState text) {
    if (mPos < mSize && isAsciiAlpha(static_cast<unsigned char>(mData[mPos]))) {
        mTemporaryStart = mPos;
        mState = endTagName;
    } else {
        mState = text;
    }
}

// The end tag name states of RCDATA, RAWTEXT and script data (escaped or not): only an
// appropriate end tag ends the text; anything else stays in the run as it was written.
void Tokenizer::textEndTagName(TokenizerState text) {
    const std::size_t end = windowEnd();
    std::size_t p = mPos;
    while (p < end && isAsciiAlpha(static_cast<unsigned char>(mData[p]))) {
        ++p;
    }
    mPos = p;
    if (p == end && p < mSize) {
        return;
    }
    if (p < mSize) {
        const char c = mData[p];
        if ((isTokenizerWhitespace(static_cast<unsigned char>(c)) || c == '/' || c == '>') &&
            isAppropriateEndTag(p)) {
            flushText(mMarkupStart);
            startTag(true);
            for (std::size_t i = mTemporaryStart; i < p; ++i) {
                mData[i] = toAsciiLower(mData[i]);
            }
            mTagName = internShortName(mData + mTemporaryStart, p - mTemporaryStart);
            ++mPos;
            if (c == '>') {
                emitTag();
            } else if (c == '/') {
                mState = TokenizerState::SelfClosingStartTag;
            } else {
                mState = TokenizerState::BeforeAttributeName;
            }
            return;
        }
    }
    mState = text;
}

bool Tokenizer::isAppropriateEndTag(std::size_t nameEnd) const {
    if (!mHasLastStartTag) {
        return false;
    }
    const std::string_view last = mNames.text(mLastStartTagName);
    const std::string_view name(mData + mTemporaryStart, nameEnd - mTemporaryStart);
    return !last.empty() && name.size() == last.size() &&
           std::equal(name.begin(), name.end(), last.begin(),
                      [](char a, char b) { return toAsciiLower(a) == b; });
}

}  // namespace veltrano::html::parser
