#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/html/gumbo_arena.h"
#include "platform/html/html_element.h"

struct GumboInternalNode;
struct GumboInternalOutput;

namespace veltrano::html {

// One parsed HTML document: its UTF-8 text and gumbo's tree over it, owned together (the tree
// points into the text) and freed together, the tree with its arena in one go.
class HtmlDocument final {
public:
    static std::unique_ptr<HtmlDocument> parse(std::string utf8);
    // Reads the file's bytes through platform::fileSystem() (its Failure propagates with the
    // platform's text), decodes them as a browser would and parses the text.
    static std::unique_ptr<HtmlDocument> load(const std::string& path, std::uint64_t maxBytes);

    HtmlDocument(const HtmlDocument&) = delete;
    HtmlDocument& operator=(const HtmlDocument&) = delete;
    ~HtmlDocument();

    // The DOM's document.getElementsByTagName(name).
    ElementList getElementsByTagName(std::string_view name) const;
    // The document node, root of every walk over the whole tree.
    const GumboInternalNode& documentNode() const;

private:
    explicit HtmlDocument(std::string utf8);

    const std::string mText;
    GumboArena mArena;
    GumboInternalOutput* mOutput = nullptr;  // lives in mArena
};

}  // namespace veltrano::html
