// The tokenizer's character reference states. A reference that resolves is written over its
// source in the run it is part of (text or attribute value); one that does not stays as it
// was written, which is what "flush code points consumed as a character reference" amounts to
// when the run takes the input as it is.
#include "platform/html/parser/tokenizer.h"

#include <algorithm>

#include "platform/html/parser/character_reference.h"
#include "platform/html/parser/named_references.h"
#include "platform/html/parser/text_scan.h"

namespace veltrano::html::parser {
namespace {

// Beyond U+10FFFF every number means the same; stopping there keeps the arithmetic in range.
constexpr std::uint32_t kSaturatedNumber = 0x110000;

unsigned digitValue(unsigned char c) {
    return isAsciiDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10;
}

}  // namespace

// Called on the '&' at mPos in the return state.
void Tokenizer::startCharacterReference(TokenizerState returnState) {
    mReferenceStart = mPos++;
    mReturnState = returnState;
    mState = TokenizerState::CharacterReference;
    characterReferenceState();
}

bool Tokenizer::inAttributeValue() const {
    return mReturnState == TokenizerState::AttributeValueDoubleQuoted ||
           mReturnState == TokenizerState::AttributeValueSingleQuoted ||
           mReturnState == TokenizerState::AttributeValueUnquoted;
}

void Tokenizer::replaceReference(std::string_view text) {
    mRun.takeTo(mReferenceStart);
    mRun.skipTo(mPos);
    mRun.put(text, mInterrupt);
}

void Tokenizer::characterReferenceState() {
    const unsigned char c = mPos < mSize ? static_cast<unsigned char>(mData[mPos]) : 0;
    if (mPos < mSize && isAsciiAlphanumeric(c)) {
        mState = TokenizerState::NamedCharacterReference;
        namedCharacterReferenceState();
    } else if (c == '#') {
        ++mPos;
        mState = TokenizerState::NumericCharacterReference;
    } else {
        mState = mReturnState;
    }
}

void Tokenizer::namedCharacterReferenceState() {
    const std::size_t available = std::min(mSize - mPos, kLongestReferenceName);
    const NamedReference match = longestNamedReference({mData + mPos, available});
    if (match.length == 0) {
        mState = TokenizerState::AmbiguousAmpersand;
        return;
    }
    mPos += match.length;
    mState = mReturnState;
    // For historical reasons, "&amp=" and "&ampx" in an attribute value stay as written (an
    // unterminated name followed by what could continue a URL's query).
    if (inAttributeValue() && mData[mPos - 1] != ';' && mPos < mSize &&
        (mData[mPos] == '=' || isAsciiAlphanumeric(static_cast<unsigned char>(mData[mPos])))) {
        return;
    }
    replaceReference(match.value);
}

void Tokenizer::ambiguousAmpersandState() {
    const std::size_t end = windowEnd();
    while (mPos < end && isAsciiAlphanumeric(static_cast<unsigned char>(mData[mPos]))) {
        ++mPos;
    }
    if (mPos < end || mPos == mSize) {
        mState = mReturnState;
    }
}

void Tokenizer::numericCharacterReferenceState() {
    mReferenceNumber = 0;
    if (mPos < mSize && (mData[mPos] == 'x' || mData[mPos] == 'X')) {
        ++mPos;
        mState = TokenizerState::HexadecimalCharacterReferenceStart;
    } else {
        mState = TokenizerState::DecimalCharacterReferenceStart;
    }
}

void Tokenizer::hexadecimalCharacterReferenceStartState() {
    if (mPos < mSize && isAsciiHexDigit(static_cast<unsigned char>(mData[mPos]))) {
        mState = TokenizerState::HexadecimalCharacterReference;
    } else {
        mState = mReturnState;
    }
}

void Tokenizer::decimalCharacterReferenceStartState() {
    if (mPos < mSize && isAsciiDigit(static_cast<unsigned char>(mData[mPos]))) {
        mState = TokenizerState::DecimalCharacterReference;
    } else {
        mState = mReturnState;
    }
}

// The hexadecimal and decimal character reference states.
template <unsigned Base>
void Tokenizer::digitsOfCharacterReference() {
    const std::size_t end = windowEnd();
    for (; mPos < end; ++mPos) {
        const auto c = static_cast<unsigned char>(mData[mPos]);
        if (Base == 16 ? !isAsciiHexDigit(c) : !isAsciiDigit(c)) {
            break;
        }
        mReferenceNumber = std::min(mReferenceNumber * Base + digitValue(c), kSaturatedNumber);
    }
    if (mPos == end && mPos < mSize) {
        return;
    }
    if (mPos < mSize && mData[mPos] == ';') {
        ++mPos;
    }
    mState = TokenizerState::NumericCharacterReferenceEnd;
    numericCharacterReferenceEndState();
}

template void Tokenizer::digitsOfCharacterReference<16>();
template void Tokenizer::digitsOfCharacterReference<10>();

void Tokenizer::numericCharacterReferenceEndState() {
    char utf8[kLongestUtf8];
    const std::size_t length = encodeUtf8(numericReferenceCodePoint(mReferenceNumber), utf8);
    replaceReference({utf8, length});
    mState = mReturnState;
}

}  // namespace veltrano::html::parser
