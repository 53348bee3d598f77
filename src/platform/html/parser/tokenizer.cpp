#include "platform/html/parser/tokenizer.h"

#include <algorithm>
#include <limits>

#include "platform/html/parser/character_reference.h"
#include "platform/html/parser/interrupt.h"
#include "platform/html/parser/text_scan.h"

namespace veltrano::html::parser {
namespace {

// A poll at least every so many steps (the shortest take a few nanoseconds, the longest some
// tens of microseconds) and every so many bytes.
constexpr std::uint32_t kStepsPerPoll = 8192;
constexpr std::size_t kBytesPerPoll = 1024 * 1024;

}  // namespace

Tokenizer::Tokenizer(TextStore& text, NameTable& names, TokenSink& sink)
    : mText(text),
      mNames(names),
      mSink(sink),
      mRun(text),
      mAttributeSeen(std::size_t{std::numeric_limits<NameId>::max()} + 1, 0) {}

void Tokenizer::setLastStartTagName(NameId name) {
    mHasLastStartTag = true;
    mLastStartTagName = name;
}

bool Tokenizer::run(std::size_t until) {
    if (mEnded) {
        return false;
    }
    mData = mText.input().data();
    mSize = mText.input().size();
    for (;;) {
        // At the end of the input the states still have to emit what they hold and the end
        // of file, whatever until says.
        if (mPos >= until && mPos < mSize) {
            return true;
        }
        if (mInterrupt != nullptr && (--mStepsUntilPoll == 0 || mPos >= mNextPollPosition)) {
            mStepsUntilPoll = kStepsPerPoll;
            mNextPollPosition = mPos + kBytesPerPoll;
            mInterrupt->poll();
        }
        step();
        if (mEnded) {
            return false;
        }
    }
}

void Tokenizer::step() {
    using S = TokenizerState;
    // One line a state where it fits.
    // clang-format off
    switch (mState) {
        case S::Data: dataState(); break;
        case S::Rcdata: rcdataState(); break;
        case S::Rawtext: rawtextState(); break;
        case S::ScriptData: scriptDataState(); break;
        case S::Plaintext: plaintextState(); break;
        case S::TagOpen: tagOpenState(); break;
        case S::EndTagOpen: endTagOpenState(); break;
        case S::TagName: tagNameState(); break;
        case S::RcdataLessThanSign: textLessThanSign(S::RcdataEndTagOpen, S::Rcdata); break;
        case S::RcdataEndTagOpen: textEndTagOpen(S::RcdataEndTagName, S::Rcdata); break;
        case S::RcdataEndTagName: textEndTagName(S::Rcdata); break;
        case S::RawtextLessThanSign: textLessThanSign(S::RawtextEndTagOpen, S::Rawtext); break;
        case S::RawtextEndTagOpen: textEndTagOpen(S::RawtextEndTagName, S::Rawtext); break;
        case S::RawtextEndTagName: textEndTagName(S::Rawtext); break;
        case S::ScriptDataLessThanSign: scriptDataLessThanSignState(); break;
        case S::ScriptDataEndTagOpen: textEndTagOpen(S::ScriptDataEndTagName, S::ScriptData); break;
        case S::ScriptDataEndTagName: textEndTagName(S::ScriptData); break;
        case S::ScriptDataEscapeStart: scriptDataEscapeStartState(); break;
        case S::ScriptDataEscapeStartDash: scriptDataEscapeStartDashState(); break;
        case S::ScriptDataEscaped: scriptDataEscapedState(); break;
        case S::ScriptDataEscapedDash: scriptDataEscapedDashState(); break;
        case S::ScriptDataEscapedDashDash: scriptDataEscapedDashDashState(); break;
        case S::ScriptDataEscapedLessThanSign: scriptDataEscapedLessThanSignState(); break;
        case S::ScriptDataEscapedEndTagOpen:
            textEndTagOpen(S::ScriptDataEscapedEndTagName, S::ScriptDataEscaped);
            break;
        case S::ScriptDataEscapedEndTagName: textEndTagName(S::ScriptDataEscaped); break;
        case S::ScriptDataDoubleEscapeStart: scriptDataDoubleEscapeStartState(); break;
        case S::ScriptDataDoubleEscaped: scriptDataDoubleEscapedState(); break;
        case S::ScriptDataDoubleEscapedDash: scriptDataDoubleEscapedDashState(); break;
        case S::ScriptDataDoubleEscapedDashDash: scriptDataDoubleEscapedDashDashState(); break;
        case S::ScriptDataDoubleEscapedLessThanSign:
            scriptDataDoubleEscapedLessThanSignState();
            break;
        case S::ScriptDataDoubleEscapeEnd: scriptDataDoubleEscapeEndState(); break;
        case S::BeforeAttributeName: beforeAttributeNameState(); break;
        case S::AttributeName: attributeNameState(); break;
        case S::AfterAttributeName: afterAttributeNameState(); break;
        case S::BeforeAttributeValue: beforeAttributeValueState(); break;
        case S::AttributeValueDoubleQuoted: attributeValueQuotedState<'"'>(); break;
        case S::AttributeValueSingleQuoted: attributeValueQuotedState<'\''>(); break;
        case S::AttributeValueUnquoted: attributeValueUnquotedState(); break;
        case S::AfterAttributeValueQuoted: afterAttributeValueQuotedState(); break;
        case S::SelfClosingStartTag: selfClosingStartTagState(); break;
        case S::BogusComment: bogusCommentState(); break;
        case S::MarkupDeclarationOpen: markupDeclarationOpenState(); break;
        case S::CommentStart: commentStartState(); break;
        case S::CommentStartDash: commentStartDashState(); break;
        case S::Comment: commentState(); break;
        case S::CommentLessThanSign: commentLessThanSignState(); break;
        case S::CommentLessThanSignBang: commentLessThanSignBangState(); break;
        case S::CommentLessThanSignBangDash: commentLessThanSignBangDashState(); break;
        case S::CommentLessThanSignBangDashDash: commentLessThanSignBangDashDashState(); break;
        case S::CommentEndDash: commentEndDashState(); break;
        case S::CommentEnd: commentEndState(); break;
        case S::CommentEndBang: commentEndBangState(); break;
        case S::Doctype: doctypeState(); break;
        case S::BeforeDoctypeName: beforeDoctypeNameState(); break;
        case S::DoctypeName: doctypeNameState(); break;
        case S::AfterDoctypeName: afterDoctypeNameState(); break;
        case S::AfterDoctypePublicKeyword:
            afterDoctypeKeyword(S::BeforeDoctypePublicIdentifier,
                                S::DoctypePublicIdentifierDoubleQuoted,
                                S::DoctypePublicIdentifierSingleQuoted, mDoctype.publicId);
            break;
        case S::BeforeDoctypePublicIdentifier:
            beforeDoctypeIdentifier(S::DoctypePublicIdentifierDoubleQuoted,
                                    S::DoctypePublicIdentifierSingleQuoted, mDoctype.publicId);
            break;
        case S::DoctypePublicIdentifierDoubleQuoted:
            doctypeIdentifier('"', *mDoctype.publicId, S::AfterDoctypePublicIdentifier);
            break;
        case S::DoctypePublicIdentifierSingleQuoted:
            doctypeIdentifier('\'', *mDoctype.publicId, S::AfterDoctypePublicIdentifier);
            break;
        case S::AfterDoctypePublicIdentifier: afterDoctypePublicIdentifierState(); break;
        case S::BetweenDoctypePublicAndSystemIdentifiers:
            betweenDoctypePublicAndSystemIdentifiersState();
            break;
        case S::AfterDoctypeSystemKeyword:
            afterDoctypeKeyword(S::BeforeDoctypeSystemIdentifier,
                                S::DoctypeSystemIdentifierDoubleQuoted,
                                S::DoctypeSystemIdentifierSingleQuoted, mDoctype.systemId);
            break;
        case S::BeforeDoctypeSystemIdentifier:
            beforeDoctypeIdentifier(S::DoctypeSystemIdentifierDoubleQuoted,
                                    S::DoctypeSystemIdentifierSingleQuoted, mDoctype.systemId);
            break;
        case S::DoctypeSystemIdentifierDoubleQuoted:
            doctypeIdentifier('"', *mDoctype.systemId, S::AfterDoctypeSystemIdentifier);
            break;
        case S::DoctypeSystemIdentifierSingleQuoted:
            doctypeIdentifier('\'', *mDoctype.systemId, S::AfterDoctypeSystemIdentifier);
            break;
        case S::AfterDoctypeSystemIdentifier: afterDoctypeSystemIdentifierState(); break;
        case S::BogusDoctype: bogusDoctypeState(); break;
        case S::CdataSection: cdataSectionState(); break;
        case S::CdataSectionBracket: cdataSectionBracketState(); break;
        case S::CdataSectionEnd: cdataSectionEndState(); break;
        case S::CharacterReference: characterReferenceState(); break;
        case S::NamedCharacterReference: namedCharacterReferenceState(); break;
        case S::AmbiguousAmpersand: ambiguousAmpersandState(); break;
        case S::NumericCharacterReference: numericCharacterReferenceState(); break;
        case S::HexadecimalCharacterReferenceStart:
            hexadecimalCharacterReferenceStartState();
            break;
        case S::DecimalCharacterReferenceStart: decimalCharacterReferenceStartState(); break;
        case S::HexadecimalCharacterReference: digitsOfCharacterReference<16>(); break;
        case S::DecimalCharacterReference: digitsOfCharacterReference<10>(); break;
        case S::NumericCharacterReferenceEnd: numericCharacterReferenceEndState(); break;
    }
    // clang-format on
}

// ---- Runs of text -------------------------------------------------------------------------

void Tokenizer::ensureTextRun() {
    if (!mRun.isOpen()) {
        mRun.begin(mPos);
    }
}

void Tokenizer::flushText(std::size_t end) {
    if (!mRun.isOpen()) {
        return;
    }
    mRun.takeTo(end);
    const TextRef text = mRun.finish();
    if (!text.empty()) {
        Token token;
        token.kind = TokenKind::Characters;
        token.text = text;
        mSink.processToken(token);
    }
}

void Tokenizer::replaceNull(std::size_t at) {
    mRun.takeTo(at);
    mRun.skipTo(at + 1);
    mRun.put(kReplacementCharacter, mInterrupt);
    mPos = at + 1;
}

void Tokenizer::takeFromRun(std::size_t count) {
    mRun.takeTo(mRun.readPosition() + count);
}

void Tokenizer::textAtWindowEnd() {
    if (mPos == mSize) {
        emitEndOfFileInText();
    } else {
        // Keeps what moves down in a run with references to one window's worth per step.
        mRun.takeTo(mPos);
    }
}

void Tokenizer::emitNullCharacter(std::size_t at) {
    flushText(at);
    Token token;
    token.kind = TokenKind::NullCharacter;
    token.text = {static_cast<std::uint32_t>(at), 1};
    mSink.processToken(token);
    mPos = at + 1;
}

void Tokenizer::emitEndOfFileInText() {
    flushText(mSize);
    emitEndOfFile();
}

void Tokenizer::emitEndOfFile() {
    mRun.discard();
    mPos = mSize;
    mEnded = true;
    Token token;
    token.kind = TokenKind::EndOfFile;
    mSink.processToken(token);
}

void Tokenizer::dataState() {
    ensureTextRun();
    const std::size_t end = windowEnd();
    // A tag right after a tag, as in a table's rows, is found without starting the scan, which
    // would stop at that same '<'.
    const char* p = mPos < end && mData[mPos] == '<'
                        ? mData + mPos
                        : findFirstOf<'<', '&', '\0'>(mData + mPos, mData + end);
    mPos = static_cast<std::size_t>(p - mData);
    if (mPos == end) {
        textAtWindowEnd();
        return;
    }
    switch (*p) {
        case '<':
            mMarkupStart = mPos++;
            mState = TokenizerState::TagOpen;
            tagOpenState();
            return;
        case '&':
            startCharacterReference(TokenizerState::Data);
            return;
        default:
            emitNullCharacter(mPos);
            return;
    }
}

void Tokenizer::rcdataState() {
    ensureTextRun();
    const std::size_t end = windowEnd();
    const char* p = findFirstOf<'<', '&', '\0'>(mData + mPos, mData + end);
    mPos = static_cast<std::size_t>(p - mData);
    if (mPos == end) {
        textAtWindowEnd();
        return;
    }
    switch (*p) {
        case '<':
            mMarkupStart = mPos++;
            mState = TokenizerState::RcdataLessThanSign;
            return;
        case '&':
            startCharacterReference(TokenizerState::Rcdata);
            return;
        default:
            replaceNull(mPos);
            return;
    }
}

void Tokenizer::rawtextState() {
    ensureTextRun();
    const std::size_t end = windowEnd();
    const char* p = findFirstOf<'<', '\0'>(mData + mPos, mData + end);
    mPos = static_cast<std::size_t>(p - mData);
    if (mPos == end) {
        textAtWindowEnd();
    } else if (*p == '<') {
        mMarkupStart = mPos++;
        mState = TokenizerState::RawtextLessThanSign;
    } else {
        replaceNull(mPos);
    }
}

void Tokenizer::plaintextState() {
    ensureTextRun();
    const std::size_t end = windowEnd();
    mPos = static_cast<std::size_t>(findFirstOf<'\0'>(mData + mPos, mData + end) - mData);
    if (mPos == end) {
        textAtWindowEnd();
    } else {
        replaceNull(mPos);
    }
}

}  // namespace veltrano::html::parser
