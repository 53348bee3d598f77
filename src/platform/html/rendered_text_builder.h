#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/html/element_style.h"
#include "platform/html/text_transform.h"

namespace veltrano::html {

// Builds the rendered text of one element from the events of a walk over it: CSS white-space
// processing across the text of each inline formatting context, the required line breaks of
// blocks and paragraphs (merged, and dropped at either end), and the strings of br, table
// cells and rows. Reused from element to element so that its buffer keeps its capacity.
//
// A collapsible space is held back until it is known whether the line goes on (then it is
// shown) or ends (then it goes); required line breaks wait likewise for the next string.
class RenderedTextBuilder final {
public:
    void reset();

    // The text of a text node, in its parent's style: shown, or, when not visible, only
    // taking its place in the line.
    void text(std::string_view text, const InheritedStyle& style);
    // A forced line break: br, or a preserved newline; "\n" when visible.
    void lineBreak(bool visible);
    // The edge of a block or a table part: the line ends (its held-back space goes) and a new
    // one starts.
    void blockBoundary();
    void requiredLineBreaks(int count);
    // An atomic inline (inline-block, image, form control): one unit in the line around it,
    // with a line of its own inside.
    void beginAtomic();
    void endAtomic();
    // A float or an absolutely positioned box: its content makes lines of its own, while the
    // line around it goes on as if it were not there.
    void beginOutOfFlow();
    void endOutOfFlow();
    // A string that is shown as it is ("\t" between cells, an option's text).
    void string(std::string_view text);

    // Valid until the next call of any other member.
    std::string_view result() const { return mOut; }

private:
    enum class Space : unsigned char { None, Visible, Hidden };

    // The state of a line interrupted by an out-of-flow box.
    struct Line {
        bool lineStart;
        char32_t lastChar;
        Space space;
        bool spaceHasSegmentBreak;
        std::size_t spaceAt;
    };

    void appendRun(std::string_view run, const InheritedStyle& style);
    void settleSpace(bool keep);
    void flushBreaks();

    std::string mOut;
    TextTransformer mTransformer;
    bool mLineStart = true;
    char32_t mLastChar = 0;  // the last character of the line so far, 0 at its start
    Space mSpace = Space::None;
    bool mSpaceHasSegmentBreak = false;
    // Where the held-back space goes when shown, if the text of an out-of-flow box has been
    // written after it; npos otherwise (it goes at the end).
    std::size_t mSpaceAt = std::string::npos;
    // Required line breaks waiting before and after the held-back space.
    int mBreaksBefore = 0;
    int mBreaksAfter = 0;
    std::vector<Line> mInterruptedLines;
};

}  // namespace veltrano::html
