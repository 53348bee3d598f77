// The tokenizer's attribute states, from before attribute name to the self-closing start tag
// state. Attribute values are runs of the input like text, with references decoded in place.
#include "platform/html/parser/tokenizer.h"

#include "platform/html/parser/text_scan.h"

namespace veltrano::html::parser {

void Tokenizer::beforeAttributeNameState() {
    const std::size_t end = windowEnd();
    std::size_t p = mPos;
    while (p < end && isTokenizerWhitespace(static_cast<unsigned char>(mData[p]))) {
        ++p;
    }
    mPos = p;
    if (p == end && p < mSize) {
        return;
    }
    if (p == mSize || mData[p] == '/' || mData[p] == '>') {
        mState = TokenizerState::AfterAttributeName;
        return;
    }
    beginName(p);
    if (mData[p] == '=') {
        // A name may start with '=', which only ends names after their first character.
        ++mPos;
    }
    mState = TokenizerState::AttributeName;
    attributeNameState();
}

void Tokenizer::attributeNameState() {
    if (!consumeName(true)) {
        if (mPos == mSize) {
            mState = TokenizerState::AfterAttributeName;
        }
        return;
    }
    finishAttributeName();
    if (mData[mPos] == '=') {
        ++mPos;
        mState = TokenizerState::BeforeAttributeValue;
        beforeAttributeValueState();
    } else {
        mState = TokenizerState::AfterAttributeName;
    }
}

// Leaving the attribute name state, the HTML Standard drops an attribute whose name the tag
// already has; its value is still read, and then forgotten. Names past the NameTable's limit
// share one number that says nothing about duplicates, so all of those are kept.
void Tokenizer::finishAttributeName() {
    const NameId name = internName();
    mAttributeDropped = name != kOverflowNameId && mAttributeSeen[name] == mTagStamp;
    if (!mAttributeDropped) {
        mAttributeSeen[name] = mTagStamp;
        mAttributes.push_back({name, AttributeNamespace::None, {}});
    }
}

void Tokenizer::afterAttributeNameState() {
    const std::size_t end = windowEnd();
    std::size_t p = mPos;
    while (p < end && isTokenizerWhitespace(static_cast<unsigned char>(mData[p]))) {
        ++p;
    }
    mPos = p;
    if (p == mSize) {
        emitEndOfFile();
        return;
    }
    if (p == end) {
        return;
    }
    switch (mData[p]) {
        case '/':
            ++mPos;
            mState = TokenizerState::SelfClosingStartTag;
            return;
        case '=':
            ++mPos;
            mState = TokenizerState::BeforeAttributeValue;
            return;
        case '>':
            ++mPos;
            emitTag();
            return;
        default:
            beginName(p);
            mState = TokenizerState::AttributeName;
            return;
    }
}

void Tokenizer::beforeAttributeValueState() {
    const std::size_t end = windowEnd();
    std::size_t p = mPos;
    while (p < end && isTokenizerWhitespace(static_cast<unsigned char>(mData[p]))) {
        ++p;
    }
    mPos = p;
    if (p == end && p < mSize) {
        return;
    }
    const char c = p < mSize ? mData[p] : '\0';
    if (c == '"') {
        beginAttributeValue(++mPos);
        mState = TokenizerState::AttributeValueDoubleQuoted;
        attributeValueQuotedState<'"'>();
    } else if (c == '\'') {
        beginAttributeValue(++mPos);
        mState = TokenizerState::AttributeValueSingleQuoted;
        attributeValueQuotedState<'\''>();
    } else if (c == '>' && p < mSize) {
        ++mPos;
        emitTag();
    } else {
        beginAttributeValue(mPos);
        mState = TokenizerState::AttributeValueUnquoted;
    }
}

void Tokenizer::beginAttributeValue(std::size_t at) {
    mRun.begin(at);
}

void Tokenizer::finishAttributeValue() {
    const TextRef value = mRun.finish();
    if (!mAttributeDropped) {
        mAttributes.back().value = value;
    }
}

template <char Quote>
void Tokenizer::attributeValueQuotedState() {
    const std::size_t end = windowEnd();
    const char* p = findFirstOf<Quote, '&', '\0'>(mData + mPos, mData + end);
    mPos = static_cast<std::size_t>(p - mData);
    if (mPos == mSize) {
        emitEndOfFile();
    } else if (mPos == end) {
        mRun.takeTo(mPos);
    } else if (*p == Quote) {
        mRun.takeTo(mPos++);
        finishAttributeValue();
        mState = TokenizerState::AfterAttributeValueQuoted;
        afterAttributeValueQuotedState();
    } else if (*p == '&') {
        startCharacterReference(Quote == '"' ? TokenizerState::AttributeValueDoubleQuoted
                                             : TokenizerState::AttributeValueSingleQuoted);
    } else {
        replaceNull(mPos);
    }
}

template void Tokenizer::attributeValueQuotedState<'"'>();
template void Tokenizer::attributeValueQuotedState<'\''>();

void Tokenizer::attributeValueUnquotedState() {
    const std::size_t end = windowEnd();
    const char* p = findFirstOf<'\t', '\n', '\f', ' ', '&', '>', '\0'>(mData + mPos, mData + end);
    mPos = static_cast<std::size_t>(p - mData);
    if (mPos == mSize) {
        emitEndOfFile();
        return;
    }
    if (mPos == end) {
        mRun.takeTo(mPos);
        return;
    }
    switch (*p) {
        case '&':
            startCharacterReference(TokenizerState::AttributeValueUnquoted);
            return;
        case '\0':
            replaceNull(mPos);
            return;
        case '>':
            mRun.takeTo(mPos++);
            finishAttributeValue();
            emitTag();
            return;
        default:
            mRun.takeTo(mPos++);
            finishAttributeValue();
            mState = TokenizerState::BeforeAttributeName;
            return;
    }
}

void Tokenizer::afterAttributeValueQuotedState() {
    if (mPos == mSize) {
        emitEndOfFile();
        return;
    }
    const char c = mData[mPos];
    if (isTokenizerWhitespace(static_cast<unsigned char>(c))) {
        ++mPos;
        mState = TokenizerState::BeforeAttributeName;
    } else if (c == '/') {
        ++mPos;
        mState = TokenizerState::SelfClosingStartTag;
    } else if (c == '>') {
        ++mPos;
        emitTag();
    } else {
        mState = TokenizerState::BeforeAttributeName;
    }
}

void Tokenizer::selfClosingStartTagState() {
    if (mPos == mSize) {
        emitEndOfFile();
        return;
    }
    if (mData[mPos] == '>') {
        ++mPos;
        mSelfClosing = true;
        emitTag();
    } else {
        mState = TokenizerState::BeforeAttributeName;
    }
}

}  // namespace veltrano::html::parser
