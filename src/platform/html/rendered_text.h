#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/html/css/selector.h"
#include "platform/html/element_style.h"
#include "platform/html/parser/node_tree.h"
#include "platform/html/rendered_text_builder.h"

namespace veltrano::html {

class Element;

// The DOM's innerText getter: the text an element renders to, computed from the tree with
// the user agent's default display of each element, the document's style sheets and the
// element's own style attribute.
// One renderer serves any number of elements, one after the other; each result is valid until
// the next call. The cost is one pass over the element's subtree.
class RenderedText final {
public:
    RenderedText();
    ~RenderedText();
    RenderedText(const RenderedText&) = delete;
    RenderedText& operator=(const RenderedText&) = delete;

    // The text of an element whose parent passes down inherited, with the document's style
    // sheets applied through cascade when there are any.
    std::string_view text(const parser::NodeTree& tree, parser::NodeId element,
                          const InheritedStyle& inherited, css::Cascade* cascade = nullptr);
    // Resolves the style of every ancestor first.
    std::string_view text(const Element& element);

private:
    // One entered element of the walk.
    struct Frame {
        parser::NodeId node;
        ElementStyle style;
        // For a table: its last row in document order, the one row without a line feed after it.
        parser::NodeId lastRow;
    };

    std::string_view textContent(parser::NodeId element);
    bool enter(parser::NodeId node);
    void leave();
    void open(const Frame& frame);
    void close(const Frame& frame);
    Frame frameFor(parser::NodeId node, const ElementStyle& style) const;
    bool isLastRow(parser::NodeId row) const;
    bool hasBoxAfter(parser::NodeId node, const InheritedStyle& parent) const;
    Display displayOfBoxAfter(parser::NodeId node, const InheritedStyle& parent) const;
    parser::NodeId lastRowIn(parser::NodeId group, const InheritedStyle& inherited) const;
    parser::NodeId lastRowOf(parser::NodeId table, const InheritedStyle& inherited) const;
    void generated(parser::NodeId element, const ElementStyle& style, css::PseudoElement which);
    void listOptions(parser::NodeId select);
    void option(parser::NodeId option);

    const parser::NodeTree* mTree = nullptr;  // of the element being rendered
    css::Cascade* mCascade = nullptr;         // the document's style sheets, if it has any
    RenderedTextBuilder mBuilder;
    std::vector<Frame> mFrames;
    std::string mText;       // the result when it is not built by mBuilder
    std::string mGenerated;  // the text of a ::before or ::after
};

}  // namespace veltrano::html
