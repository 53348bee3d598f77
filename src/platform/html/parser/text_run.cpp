#include "platform/html/parser/text_run.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/html/parser/interrupt.h"

namespace veltrano::html::parser {
namespace {

// Copying a run to the made text polls between pieces of this size.
constexpr std::uint32_t kCopyPiece = 1u << 20;

}  // namespace

void TextRun::moveTo(std::size_t position) {
    const auto end = static_cast<std::uint32_t>(position);
    if (end <= mRead) {
        return;
    }
    char* data = mText.input().data();
    if (mMade) {
        appendMade(std::string_view(data + mRead, end - mRead));
    } else if (mWrite != mRead) {
        std::memmove(data + mWrite, data + mRead, end - mRead);
        mWrite += end - mRead;
    } else {
        mWrite = end;
    }
    mRead = end;
}

void TextRun::put(std::string_view text, Interrupt* interrupt) {
    if (!mMade && mWrite + text.size() > mRead) {
        moveToMade(interrupt);
    }
    if (mMade) {
        appendMade(text);
        return;
    }
    std::memcpy(mText.input().data() + mWrite, text.data(), text.size());
    mWrite += static_cast<std::uint32_t>(text.size());
}

void TextRun::moveToMade(Interrupt* interrupt) {
    const std::string_view input(mText.input());
    mMadeRef = mText.make({});
    for (std::uint32_t at = mStart; at < mWrite; at += kCopyPiece) {
        if (interrupt != nullptr && at != mStart) {
            interrupt->poll();
        }
        mText.extendMade(mMadeRef, input.substr(at, std::min(kCopyPiece, mWrite - at)));
    }
    mMade = true;
}

void TextRun::appendMade(std::string_view text) {
    if (!mText.endsMadeText(mMadeRef)) {
        // Someone made text since this run last grew (between two calls of the tokenizer);
        // the run must stay one span, so it starts over at the end.
        const std::string sofar(mText.view(mMadeRef));
        mMadeRef = mText.make(sofar);
    }
    mText.extendMade(mMadeRef, text);
}

}  // namespace veltrano::html::parser
