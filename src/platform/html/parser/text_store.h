#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace veltrano::html::parser {

// A piece of a document's text: a span of the decoded input, or of the text the parser made
// itself where the input does not hold it as is. Eight bytes, so that nodes stay small.
struct TextRef {
    static constexpr std::uint32_t kMadeBit = 0x80000000u;

    std::uint32_t offset = 0;  // with kMadeBit set: into the made text
    std::uint32_t length = 0;

    bool empty() const { return length == 0; }
    std::uint32_t end() const { return offset + length; }
    // Whether other follows this one directly in the same text (then the two are one span).
    bool isFollowedBy(const TextRef& other) const { return end() == other.offset; }
};

// The text of one document: the decoded input, which the tokenizer may rewrite in place where
// it shortens what it reads (character references, "\r\n"), and the made text, which holds
// what is longer than its source. Offsets stay valid as both grow.
class TextStore final {
public:
    // Decoded inputs are limited to this size so that an offset fits in 31 bits.
    static constexpr std::uint32_t kMaximumInputBytes = TextRef::kMadeBit - 1;

    std::string& input() { return mInput; }
    const std::string& input() const { return mInput; }

    // Appends text to the made text and returns where it is.
    TextRef make(std::string_view text) {
        const auto offset = static_cast<std::uint32_t>(mMade.size());
        mMade.append(text);
        return {offset | TextRef::kMadeBit, static_cast<std::uint32_t>(text.size())};
    }
    // Extends ref, which must end the made text, by text.
    void extendMade(TextRef& ref, std::string_view text) {
        mMade.append(text);
        ref.length += static_cast<std::uint32_t>(text.size());
    }
    bool endsMadeText(const TextRef& ref) const {
        return (ref.offset & TextRef::kMadeBit) != 0 &&
               (ref.end() & ~TextRef::kMadeBit) == mMade.size();
    }

    std::string_view view(const TextRef& ref) const {
        if ((ref.offset & TextRef::kMadeBit) != 0) {
            return std::string_view(mMade).substr(ref.offset & ~TextRef::kMadeBit, ref.length);
        }
        return std::string_view(mInput).substr(ref.offset, ref.length);
    }

    void clear() {
        std::string().swap(mInput);
        std::string().swap(mMade);
    }

private:
    std::string mInput;
    std::string mMade;
};

}  // namespace veltrano::html::parser
