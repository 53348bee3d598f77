#include "platform/html/html_document.h"

#include <utility>

#include <gumbo.h>

#include "platform/file_system.h"
#include "platform/html/text_decoder.h"

namespace veltrano::html {

std::unique_ptr<HtmlDocument> HtmlDocument::parse(std::string utf8) {
    return std::unique_ptr<HtmlDocument>(new HtmlDocument(std::move(utf8)));
}

std::unique_ptr<HtmlDocument> HtmlDocument::load(const std::string& path, std::uint64_t maxBytes) {
    std::string utf8 = decodeHtmlBytes(platform::fileSystem().readFile(path, maxBytes)).utf8;
    return parse(std::move(utf8));
}

HtmlDocument::HtmlDocument(std::string utf8) : mText(std::move(utf8)) {
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = &GumboArena::allocate;
    options.deallocator = &GumboArena::deallocate;
    options.userdata = &mArena;
    // Recorded errors cost memory with the square of the nesting depth, and nobody reads them.
    options.max_errors = 0;
    mOutput = gumbo_parse_with_options(&options, mText.data(), mText.size());
}

// The arena's destructor frees the tree; gumbo_destroy_output would recurse over it.
HtmlDocument::~HtmlDocument() = default;

ElementList HtmlDocument::getElementsByTagName(std::string_view name) const {
    return elementsByTagName(documentNode(), name);
}

const GumboInternalNode& HtmlDocument::documentNode() const {
    return *mOutput->document;
}

}  // namespace veltrano::html
