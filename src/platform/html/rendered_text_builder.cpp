#include "platform/html/rendered_text_builder.h"

#include <algorithm>

#include <unicode/utf8.h>

namespace veltrano::html {
namespace {

// CSS white space: space, tab and segment breaks. A carriage return left in the text (from
// &#13;) counts as a segment break too.
bool isCollapsible(char c, WhiteSpace whiteSpace) {
    switch (whiteSpace) {
        case WhiteSpace::Collapse:
            return c == ' ' || c == '\t' || c == '\n' || c == '\r';
        case WhiteSpace::PreserveBreaks:
            return c == ' ' || c == '\t' || c == '\r';
        case WhiteSpace::Preserve:
            return false;
    }
    return false;
}

bool endsRun(char c, WhiteSpace whiteSpace) {
    return c == '\n' || isCollapsible(c, whiteSpace);
}

char32_t firstCodePoint(std::string_view text) {
    std::int32_t i = 0;
    UChar32 c = 0;
    U8_NEXT(text.data(), i, static_cast<std::int32_t>(text.size()), c);
    return c < 0 ? U'\uFFFD' : static_cast<char32_t>(c);
}

char32_t lastCodePoint(std::string_view text) {
    auto i = static_cast<std::int32_t>(text.size());
    UChar32 c = 0;
    U8_PREV(text.data(), 0, i, c);
    return c < 0 ? U'\uFFFD' : static_cast<char32_t>(c);
}

// A segment break next to a zero width space disappears instead of becoming a space.
bool segmentBreakVanishes(char32_t before, char32_t after) {
    return before == U'\u200B' || after == U'\u200B';
}

}  // namespace

void RenderedTextBuilder::reset() {
    mOut.clear();
    mLineStart = true;
    mLastChar = 0;
    mSpace = Space::None;
    mSpaceHasSegmentBreak = false;
    mSpaceAt = std::string::npos;
    mBreaksBefore = 0;
    mBreaksAfter = 0;
    mInterruptedLines.clear();
}

void RenderedTextBuilder::text(std::string_view text, const InheritedStyle& style) {
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (isCollapsible(c, style.whiteSpace)) {
            if (!mLineStart && mSpace == Space::None) {
                mSpace = style.visible ? Space::Visible : Space::Hidden;
                mSpaceHasSegmentBreak = false;
            }
            mSpaceHasSegmentBreak = mSpaceHasSegmentBreak || c == '\n' || c == '\r';
            ++i;
        } else if (c == '\n') {
            lineBreak(style.visible);
            ++i;
        } else {
            std::size_t end = i + 1;
            while (end < text.size() && !endsRun(text[end], style.whiteSpace)) {
                ++end;
            }
            appendRun(text.substr(i, end - i), style);
            i = end;
        }
    }
}

void RenderedTextBuilder::appendRun(std::string_view run, const InheritedStyle& style) {
    const bool visible = style.visible;
    const bool afterSpace = mLineStart || mSpace != Space::None;
    if (mSpace != Space::None && mSpaceHasSegmentBreak &&
        segmentBreakVanishes(mLastChar, firstCodePoint(run))) {
        settleSpace(false);
    }
    settleSpace(true);
    if (visible) {
        flushBreaks();
        const std::size_t from = mOut.size();
        mOut.append(run);
        if (style.textTransform != TextTransform::None) {
            mTransformer.apply(style.textTransform, mOut, from, afterSpace ? 0 : mLastChar,
                               style.caseLocale);
        }
    }
    mLastChar = lastCodePoint(run);
    mLineStart = false;
}

// Decides the held-back space: shown when the line goes on (if its text is visible), or
// dropped. Either way the required line breaks around it become one run.
void RenderedTextBuilder::settleSpace(bool keep) {
    if (mSpace == Space::None) {
        return;
    }
    if (keep && mSpace == Space::Visible && mSpaceAt != std::string::npos) {
        mOut.insert(mSpaceAt, 1, ' ');
        mBreaksBefore = std::max(mBreaksBefore, mBreaksAfter);
    } else if (keep && mSpace == Space::Visible) {
        flushBreaks();
        mOut += ' ';
        mBreaksBefore = mBreaksAfter;
    } else {
        mBreaksBefore = std::max(mBreaksBefore, mBreaksAfter);
    }
    mBreaksAfter = 0;
    mSpace = Space::None;
    mSpaceAt = std::string::npos;
}

// Required line breaks become line feeds only between strings: none at the start.
void RenderedTextBuilder::flushBreaks() {
    if (!mOut.empty()) {
        mOut.append(static_cast<std::size_t>(mBreaksBefore), '\n');
    }
    mBreaksBefore = 0;
}

void RenderedTextBuilder::blockBoundary() {
    settleSpace(false);
    mLineStart = true;
    mLastChar = 0;
}

void RenderedTextBuilder::lineBreak(bool visible) {
    blockBoundary();
    if (visible) {
        string("\n");
    }
}

void RenderedTextBuilder::requiredLineBreaks(int count) {
    int& breaks = mSpace == Space::None ? mBreaksBefore : mBreaksAfter;
    breaks = std::max(breaks, count);
}

void RenderedTextBuilder::beginAtomic() {
    settleSpace(true);
    mLineStart = true;
    mLastChar = 0;
}

void RenderedTextBuilder::endAtomic() {
    settleSpace(false);
    mLineStart = false;
    mLastChar = U'\uFFFC';
}

void RenderedTextBuilder::beginOutOfFlow() {
    // The held-back space stays undecided: it is shown, before the box's text, only if the
    // line goes on after the box.
    std::size_t spaceAt = mSpaceAt;
    if (mSpace != Space::None) {
        spaceAt = spaceAt != std::string::npos ? spaceAt : mOut.size();
        mBreaksBefore = std::max(mBreaksBefore, mBreaksAfter);
        mBreaksAfter = 0;
    }
    mInterruptedLines.push_back({mLineStart, mLastChar, mSpace, mSpaceHasSegmentBreak, spaceAt});
    mSpace = Space::None;
    mSpaceAt = std::string::npos;
    mLineStart = true;
    mLastChar = 0;
}

void RenderedTextBuilder::endOutOfFlow() {
    settleSpace(false);
    const Line line = mInterruptedLines.back();
    mInterruptedLines.pop_back();
    mLineStart = line.lineStart;
    mLastChar = line.lastChar;
    mSpace = line.space;
    mSpaceHasSegmentBreak = line.spaceHasSegmentBreak;
    mSpaceAt = line.space != Space::None ? line.spaceAt : std::string::npos;
}

void RenderedTextBuilder::string(std::string_view text) {
    if (text.empty()) {
        return;
    }
    settleSpace(true);
    flushBreaks();
    mOut.append(text);
}

}  // namespace veltrano::html
