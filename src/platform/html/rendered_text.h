#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/html/element_style.h"
#include "platform/html/html_element.h"
#include "platform/html/rendered_text_builder.h"

namespace veltrano::html {

struct WalkFrame;

// An element with the style its parent passes down, as a walk from the document's root has
// it at hand: rendering it needs no look at its ancestors.
struct PlacedElement {
    Element element;
    InheritedStyle inherited;
};

// The DOM's innerText getter: the text an element renders to, computed from the tree with
// the user agent's default display of each element and the element's own style attribute.
// One renderer serves any number of elements, one after the other; each result is valid until
// the next call. The cost is one pass over the element's subtree.
class RenderedText final {
public:
    RenderedText();
    ~RenderedText();
    RenderedText(const RenderedText&) = delete;
    RenderedText& operator=(const RenderedText&) = delete;

    // Resolves the style of every ancestor first.
    std::string_view text(const Element& element);
    std::string_view text(const PlacedElement& element);

private:
    // One entered element of the walk.
    struct Frame {
        const GumboInternalNode* node;
        ElementStyle style;
        // For a table: its last row in document order, the one row without a line feed after it.
        const GumboInternalNode* lastRow;
    };

    std::string_view render(const GumboInternalNode& element, const InheritedStyle& inherited);
    std::string_view textContent(const GumboInternalNode& element);
    bool enter(const GumboInternalNode& node);
    void leave();
    void open(const Frame& frame);
    void close(const Frame& frame);
    bool isLastRow(const GumboInternalNode& row) const;
    bool hasBoxAfter(const GumboInternalNode& node, const InheritedStyle& parent) const;
    void listOptions(const GumboInternalNode& select);
    void option(const GumboInternalNode& option);

    RenderedTextBuilder mBuilder;
    std::vector<Frame> mFrames;
    std::vector<WalkFrame> mWalk;
    std::vector<WalkFrame> mInnerWalk;  // for walks nested in the main one
    std::vector<const GumboInternalNode*> mAncestors;
    std::string mText;  // the result when it is not built by mBuilder
};

}  // namespace veltrano::html
