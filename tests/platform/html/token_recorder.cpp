#include "token_recorder.h"

#include <algorithm>
#include <utility>

namespace veltrano::html::parser {

std::string characterLine(const std::string& text) {
    return "Character " + text;
}

std::string TokenRecorder::hand(const TextRef& ref) {
    std::string text(mText.view(ref));
    mHanded.push_back({ref, text});
    return text;
}

void TokenRecorder::endCharacters() {
    if (mInCharacters) {
        mLines.push_back(characterLine(mCharacters));
        mCharacters.clear();
        mInCharacters = false;
    }
}

void TokenRecorder::processToken(Token& token) {
    switch (token.kind) {
        case TokenKind::Characters:
            mKinds += 'T';
            mCharacters += hand(token.text);
            mInCharacters = true;
            return;
        case TokenKind::NullCharacter:
            mKinds += 'N';
            mCharacters += '\0';
            mInCharacters = true;
            return;
        default:
            break;
    }
    endCharacters();
    switch (token.kind) {
        case TokenKind::Doctype: {
            mKinds += 'D';
            const Doctype& d = *token.doctype;
            mLines.push_back("DOCTYPE " + (d.name.empty() ? "null" : d.name) + " | " +
                             d.publicId.value_or("null") + " | " + d.systemId.value_or("null") +
                             (token.forceQuirks ? " | quirks" : ""));
            return;
        }
        case TokenKind::StartTag: {
            mKinds += 'S';
            std::vector<std::pair<std::string, std::string>> attributes;
            for (const Attribute& a : token.attributes) {
                attributes.emplace_back(mNames.text(a.name), hand(a.value));
            }
            std::sort(attributes.begin(), attributes.end());
            std::string line = "StartTag " + std::string(mNames.text(token.name));
            for (const auto& [name, value] : attributes) {
                line += " " + name + "=\"" + value + "\"";
            }
            if (token.selfClosing) {
                line += " /";
            }
            mLines.push_back(line);
            return;
        }
        case TokenKind::EndTag:
            mKinds += 'E';
            mLines.push_back("EndTag " + std::string(mNames.text(token.name)));
            return;
        case TokenKind::Comment:
            mKinds += 'C';
            mLines.push_back("Comment " + hand(token.text));
            return;
        default:
            mKinds += 'F';
            ++mEndOfFileCount;
            return;
    }
}

std::vector<std::string> TokenRecorder::lines() const {
    std::vector<std::string> lines = mLines;
    if (mInCharacters) {
        lines.push_back(characterLine(mCharacters));
    }
    return lines;
}

std::vector<TextRef> TokenRecorder::texts() const {
    std::vector<TextRef> refs;
    for (const Handed& h : mHanded) {
        refs.push_back(h.ref);
    }
    return refs;
}

bool TokenRecorder::textsUnchanged() const {
    return std::all_of(mHanded.begin(), mHanded.end(),
                       [this](const Handed& h) { return mText.view(h.ref) == h.text; });
}

}  // namespace veltrano::html::parser
