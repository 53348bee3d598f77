#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/html/html_element.h"

namespace veltrano::html {

namespace parser {
struct ParsedDocument;
class NodeTree;
}  // namespace parser

// One whole parsed document: its text and the tree over it, owned together (the tree refers
// to the text) and freed together. For what needs the whole tree at once: tools, tests and
// rendering any element; the extraction reads tables as the document streams in instead.
class HtmlDocument final {
public:
    // text is the document decoded; newlines need not be normalized.
    static std::unique_ptr<HtmlDocument> parse(std::string text);
    // Reads the file through platform::fileSystem() (its Failure propagates with the
    // platform's text), decodes it as a browser would and parses it.
    static std::unique_ptr<HtmlDocument> load(const std::string& path, std::uint64_t maxBytes);

    HtmlDocument(const HtmlDocument&) = delete;
    HtmlDocument& operator=(const HtmlDocument&) = delete;
    ~HtmlDocument();

    // The DOM's document.getElementsByTagName(name).
    ElementList getElementsByTagName(std::string_view name) const;
    const parser::NodeTree& tree() const;
    // The tree in the html5lib tree-construction tests' format.
    std::string dump() const;

private:
    explicit HtmlDocument(std::unique_ptr<parser::ParsedDocument> parsed);

    std::unique_ptr<parser::ParsedDocument> mParsed;
};

}  // namespace veltrano::html
