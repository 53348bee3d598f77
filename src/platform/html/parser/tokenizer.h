#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/html/parser/names.h"
#include "platform/html/parser/node_tree.h"
#include "platform/html/parser/text_run.h"
#include "platform/html/parser/text_scan.h"
#include "platform/html/parser/text_store.h"
#include "platform/html/parser/token.h"
#include "platform/html/parser/tokenizer_state.h"

namespace veltrano::html::parser {

class Interrupt;

// The HTML Standard's tokenizer, over a whole document already decoded to UTF-8 and
// preprocessed (no CR left: CR LF and lone CR are LF), at most TextStore::kMaximumInputBytes
// long; the input keeps its size while the tokenizer lives. It hands each token to the sink as
// soon as it is complete; the sink may switch the state while it processes a token.
//
// It rewrites the input in place where what it produces is not longer than what it read:
// character references are decoded over their source, moving the rest of their run down, and
// tag and attribute names are lower-cased. A Characters token, attribute value or comment is
// thus one span of the input; only one whose U+0000 became U+FFFD, or which holds "&nGt;" or
// "&nLt;", lives in the made text instead. Text already handed out is never touched again.
//
// Characters come as runs, one token per run: a run ends where a tag, comment or doctype
// starts, at a U+0000 in the data state or a CDATA section (a NullCharacter token of its own),
// and at the end of the input. Two runs may still follow each other (the text before a CDATA
// section and the section's), and a run may hold text from both sides of something dropped
// ("</>", a CDATA section's "]]>").
//
// A throw from the sink or the interrupt passes through and leaks nothing; the tokenizer must
// not be run again after it.
class Tokenizer final {
public:
    Tokenizer(TextStore& text, NameTable& names, TokenSink& sink);
    Tokenizer(const Tokenizer&) = delete;
    Tokenizer& operator=(const Tokenizer&) = delete;

    // The tree builder switches to Rcdata, Rawtext, ScriptData or Plaintext (or back to Data)
    // while it processes the start tag that calls for it; tests start in any of these and
    // CdataSection.
    void switchTo(TokenizerState state) { mState = state; }
    TokenizerState state() const { return mState; }
    // The name an end tag must have to be an appropriate end tag in RCDATA, RAWTEXT and script
    // data. Start tags set it as they are emitted; tests set it beforehand.
    void setLastStartTagName(NameId name);
    // Polled every few milliseconds of work at most; nullptr: never.
    void setInterrupt(Interrupt* interrupt) { mInterrupt = interrupt; }

    // Tokenizes from where it stopped until position() >= until or the input ends. At the end
    // of the input it emits one EndOfFile token and returns false (and does nothing more when
    // called again); otherwise it returns true.
    bool run(std::size_t until);
    // Bytes of the input consumed so far.
    std::size_t position() const { return mPos; }

private:
    // One step of the state machine reads at most this much, so that polls come often enough
    // and what a step moves within a run stays small.
    static constexpr std::size_t kWindow = 64 * 1024;

    void step();
    // Where the current step stops reading, so that one step never reads more than a window.
    std::size_t windowEnd() const { return mSize - mPos < kWindow ? mSize : mPos + kWindow; }

    // Text runs.
    void ensureTextRun();
    void flushText(std::size_t end);
    void replaceNull(std::size_t at);
    void takeFromRun(std::size_t count);
    void textAtWindowEnd();
    void emitNullCharacter(std::size_t at);
    void emitEndOfFileInText();
    void emitEndOfFile();

    // Tags.
    void startTag(bool endTag);
    void beginName(std::size_t at);
    bool consumeName(bool attributeName);
    [[gnu::noinline]] bool consumeBufferedName(bool attributeName);
    NameId internName();
    NameId internShortName(const char* text, std::size_t length);
    struct CachedName;
    [[gnu::noinline]] void cacheName(CachedName& cached, std::uint64_t bytes,
                                     std::string_view name);
    void finishAttributeName();
    void beginAttributeValue(std::size_t at);
    void finishAttributeValue();
    void emitTag();
    bool isAppropriateEndTag(std::size_t nameEnd) const;
    void textLessThanSign(TokenizerState endTagOpen, TokenizerState text);
    void textEndTagOpen(TokenizerState endTagName, TokenizerState text);
    void textEndTagName(TokenizerState text);

    // Comments and doctypes.
    void beginComment(std::size_t at);
    void emitComment();
    void startDoctype();
    void emitDoctype();
    void emitDoctypeAtEndOfFile();
    bool skipWhitespace();
    void afterDoctypeKeyword(TokenizerState beforeIdentifier, TokenizerState doubleQuoted,
                             TokenizerState singleQuoted, std::optional<std::string>& id);
    void beforeDoctypeIdentifier(TokenizerState doubleQuoted, TokenizerState singleQuoted,
                                 std::optional<std::string>& id);
    void doctypeIdentifier(char quote, std::string& id, TokenizerState after);

    // Character references.
    void startCharacterReference(TokenizerState returnState);
    void replaceReference(std::string_view text);
    bool inAttributeValue() const;

    // Script data.
    void scriptDataTemporaryBufferEnd(TokenizerState isScript, TokenizerState otherwise);
    void scriptDataEscapedCharacter(TokenizerState afterDash, TokenizerState afterLessThanSign,
                                    bool lessThanSignStartsTag);

    // One function per state of the HTML Standard, named after it.
    void dataState();
    void rcdataState();
    void rawtextState();
    void scriptDataState();
    void plaintextState();
    void tagOpenState();
    void endTagOpenState();
    void tagNameState();
    void scriptDataLessThanSignState();
    void scriptDataEscapeStartState();
    void scriptDataEscapeStartDashState();
    void scriptDataEscapedState();
    void scriptDataEscapedDashState();
    void scriptDataEscapedDashDashState();
    void scriptDataEscapedLessThanSignState();
    void scriptDataDoubleEscapeStartState();
    void scriptDataDoubleEscapedState();
    void scriptDataDoubleEscapedDashState();
    void scriptDataDoubleEscapedDashDashState();
    void scriptDataDoubleEscapedLessThanSignState();
    void scriptDataDoubleEscapeEndState();
    void beforeAttributeNameState();
    void attributeNameState();
    void afterAttributeNameState();
    void beforeAttributeValueState();
    template <char Quote>
    void attributeValueQuotedState();
    void attributeValueUnquotedState();
    void afterAttributeValueQuotedState();
    void selfClosingStartTagState();
    void bogusCommentState();
    void markupDeclarationOpenState();
    void commentStartState();
    void commentStartDashState();
    void commentState();
    void commentLessThanSignState();
    void commentLessThanSignBangState();
    void commentLessThanSignBangDashState();
    void commentLessThanSignBangDashDashState();
    void commentEndDashState();
    void commentEndState();
    void commentEndBangState();
    void doctypeState();
    void beforeDoctypeNameState();
    void doctypeNameState();
    void afterDoctypeNameState();
    void afterDoctypePublicIdentifierState();
    void betweenDoctypePublicAndSystemIdentifiersState();
    void afterDoctypeSystemIdentifierState();
    void bogusDoctypeState();
    void cdataSectionState();
    void cdataSectionBracketState();
    void cdataSectionEndState();
    void characterReferenceState();
    void namedCharacterReferenceState();
    void ambiguousAmpersandState();
    void numericCharacterReferenceState();
    void hexadecimalCharacterReferenceStartState();
    void decimalCharacterReferenceStartState();
    template <unsigned Base>
    void digitsOfCharacterReference();
    void numericCharacterReferenceEndState();

    TextStore& mText;
    NameTable& mNames;
    TokenSink& mSink;
    Interrupt* mInterrupt = nullptr;

    char* mData = nullptr;  // the input, mSize bytes
    std::size_t mSize = 0;
    std::size_t mPos = 0;
    TokenizerState mState = TokenizerState::Data;
    bool mEnded = false;
    std::uint32_t mStepsUntilPoll = 0;
    std::size_t mNextPollPosition = 0;

    // The text being read: a run of characters, an attribute value or a comment's data.
    TextRun mRun;
    std::size_t mMarkupStart = 0;  // the '<' that may start a tag or comment

    // The tag being read. Its name, or the current attribute's, is the input from mNameStart
    // to where the name ends, lower-cased in place; a name with U+0000 in it is in mNameBuffer.
    bool mEndTag = false;
    bool mSelfClosing = false;
    NameId mTagName = 0;
    std::vector<Attribute> mAttributes;
    std::size_t mNameStart = 0;
    bool mNameBuffered = false;
    std::string mNameBuffer;
    // The names of up to eight bytes interned last, by a hash of their bytes: a page uses few
    // tag and attribute names over and over, and this is cheaper than the NameTable's lookup.
    struct CachedName {
        std::uint64_t bytes = 0;  // the name, zero-padded (names never hold a zero byte)
        NameId id = 0;
    };
    static constexpr unsigned kNameCacheBits = 7;
    std::array<CachedName, 1u << kNameCacheBits> mNameCache{};
    bool mAttributeDropped = false;
    // Duplicate attributes: the tag during which each name was last seen, by name number.
    std::vector<std::uint32_t> mAttributeSeen;
    std::uint32_t mTagStamp = 0;
    bool mHasLastStartTag = false;
    NameId mLastStartTagName = 0;
    // The temporary buffer of the end tag name and double escape states, which only ever holds
    // the ASCII letters read from here on.
    std::size_t mTemporaryStart = 0;

    // The character reference being read.
    TokenizerState mReturnState = TokenizerState::Data;
    std::size_t mReferenceStart = 0;  // its '&'
    std::uint32_t mReferenceNumber = 0;

    // The doctype being read.
    Doctype mDoctype;
    bool mForceQuirks = false;
};

// Every tag and attribute name goes through these, so they are inline.

// Reads name characters from mPos up to the first byte of class Stop, lower-casing ASCII
// letters in place. U+0000 becomes U+FFFD, which does not fit in place: from there on the name
// is copied to mNameBuffer. Returns false when it stopped at the end of the window or input.
inline bool Tokenizer::consumeName(bool attributeName) {
    const std::array<NameByte, 256>& classes = attributeName ? kAttributeNameBytes : kTagNameBytes;
    if (mNameBuffered) {
        return consumeBufferedName(attributeName);
    }
    char* const data = mData;
    const std::size_t end = windowEnd();
    for (std::size_t p = mPos; p < end; ++p) {
        const NameByte byte = classes[static_cast<unsigned char>(data[p])];
        if (byte == NameByte::Plain) {
            continue;
        }
        if (byte == NameByte::Upper) {
            data[p] = static_cast<char>(data[p] | 0x20);
            continue;
        }
        mPos = p;
        if (byte == NameByte::Stop) {
            return true;
        }
        return consumeBufferedName(attributeName);
    }
    mPos = end;
    return false;
}

// The number of the name that ends at mPos.
inline NameId Tokenizer::internName() {
    if (mNameBuffered) {
        return mNames.intern(mNameBuffer);
    }
    return internShortName(mData + mNameStart, mPos - mNameStart);
}

// The number of a name in the input (never empty), through the cache when it is short enough.
inline NameId Tokenizer::internShortName(const char* text, std::size_t length) {
    if (length > sizeof(std::uint64_t)) {
        return mNames.intern({text, length});
    }
    std::uint64_t bytes = 0;
    if (text + sizeof bytes <= mData + mSize) {
        // One load of eight bytes and a mask: cheaper than a copy of variable length.
        std::memcpy(&bytes, text, sizeof bytes);
        bytes &= ~std::uint64_t{0} >> (64 - 8 * length);
    } else {
        // Near the input's end, byte by byte in the order the load above puts them.
        for (std::size_t i = 0; i < length; ++i) {
            bytes |= std::uint64_t{static_cast<unsigned char>(text[i])} << (8 * i);
        }
    }
    CachedName& cached = mNameCache[(bytes * 0x9E3779B97F4A7C15u) >> (64 - kNameCacheBits)];
    if (cached.bytes != bytes) [[unlikely]] {
        cacheName(cached, bytes, {text, length});
    }
    return cached.id;
}

}  // namespace veltrano::html::parser
