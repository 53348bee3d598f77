#pragma once

#include <string>
#include <vector>

#include "platform/html/parser/names.h"
#include "platform/html/parser/text_store.h"
#include "platform/html/parser/token.h"

namespace veltrano::html::parser {

// A token sink for tests: writes each token down as one line in the html5lib tests' terms
// (adjacent characters merged, U+0000 as a character), and remembers every text it was handed
// so that a test can check none of it changed afterwards.
class TokenRecorder final : public TokenSink {
public:
    TokenRecorder(const TextStore& text, const NameTable& names) : mText(text), mNames(names) {}

    void processToken(Token& token) override;
    bool adjustedCurrentNodeIsForeign() const override { return foreign; }

    // The lines so far, with the characters not yet followed by another token.
    std::vector<std::string> lines() const;
    // Each token's kind, one character each: D S E C T(ext) N(ull) F(end of file).
    const std::string& kinds() const { return mKinds; }
    // Every text handed out (characters, attribute values, comments), in order.
    std::vector<TextRef> texts() const;
    std::size_t endOfFileCount() const { return mEndOfFileCount; }
    // Whether every text handed out so far still reads as it did when it was handed out.
    bool textsUnchanged() const;

    bool foreign = false;

private:
    struct Handed {
        TextRef ref;
        std::string text;
    };

    std::string hand(const TextRef& ref);
    void endCharacters();

    const TextStore& mText;
    const NameTable& mNames;
    std::vector<std::string> mLines;
    std::string mCharacters;
    bool mInCharacters = false;
    std::string mKinds;
    std::vector<Handed> mHanded;
    std::size_t mEndOfFileCount = 0;
};

// The line an html5lib expected token stands for (see TokenRecorder).
std::string characterLine(const std::string& text);

}  // namespace veltrano::html::parser
