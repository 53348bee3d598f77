#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/html/parser/text_store.h"

namespace veltrano::html::parser {

class Interrupt;

// The text of the token being read: a run of characters, an attribute's value or a comment's
// data. The run reads its source from the input in order; what it takes as it is stays where
// it is, and what replaces a piece of source (a character reference's characters) is written
// over that source, moving the rest of the run down, so that the whole run stays one span of
// the input. A replacement longer than what it replaces (U+FFFD for U+0000, "&nGt;") moves
// the run to the made text, where it then grows.
class TextRun final {
public:
    explicit TextRun(TextStore& text) : mText(text) {}

    bool isOpen() const { return mOpen; }
    // Opens a run whose source starts at position.
    void begin(std::size_t position) {
        mStart = mWrite = mRead = static_cast<std::uint32_t>(position);
        mOpen = true;
        mMade = false;
    }
    // Appends the source from where the run has read up to position, as it is.
    void takeTo(std::size_t position) {
        // Inline for the common case of a run that has replaced nothing yet.
        if (!mMade && mWrite == mRead && position >= mRead) {
            mWrite = mRead = static_cast<std::uint32_t>(position);
        } else {
            moveTo(position);
        }
    }
    // Leaves out the source from where the run has read up to position.
    void skipTo(std::size_t position) { mRead = static_cast<std::uint32_t>(position); }
    // Appends text that stands for source just left out by skipTo. Polls interrupt while it
    // copies a long run to the made text.
    void put(std::string_view text, Interrupt* interrupt);
    // Where the source not yet taken or left out starts.
    std::size_t readPosition() const { return mRead; }
    // Closes the run and returns its text (empty when it took nothing).
    TextRef finish() {
        mOpen = false;
        return mMade ? mMadeRef : TextRef{mStart, mWrite - mStart};
    }
    void discard() { mOpen = false; }

private:
    void moveTo(std::size_t position);
    void moveToMade(Interrupt* interrupt);
    void appendMade(std::string_view text);

    TextStore& mText;
    // In the input: the run is [mStart, mWrite), the source read so far ends at mRead.
    std::uint32_t mStart = 0;
    std::uint32_t mWrite = 0;
    std::uint32_t mRead = 0;
    bool mOpen = false;
    bool mMade = false;
    TextRef mMadeRef;  // the run, once it is in the made text
};

}  // namespace veltrano::html::parser
