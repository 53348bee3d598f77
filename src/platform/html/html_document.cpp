#include "platform/html/html_document.h"

#include <utility>

#include "platform/file_system.h"
#include "platform/html/document_text.h"
#include "platform/html/parser/parsed_document.h"
#include "platform/html/parser/tree_dump.h"

namespace veltrano::html {
namespace {

class Unwatched final : public ReadingProgress {
public:
    void bytesRead(std::uint64_t, std::uint64_t) override {}
};

}  // namespace

std::unique_ptr<HtmlDocument> HtmlDocument::parse(std::string text) {
    return std::unique_ptr<HtmlDocument>(new HtmlDocument(parser::parseHtml(std::move(text))));
}

std::unique_ptr<HtmlDocument> HtmlDocument::load(const std::string& path, std::uint64_t maxBytes) {
    const std::unique_ptr<platform::FileReader> file =
        platform::fileSystem().openForReading(path, maxBytes);
    std::string text;
    Unwatched progress;
    readDocumentText(*file, text, progress);
    return parse(std::move(text));
}

HtmlDocument::HtmlDocument(std::unique_ptr<parser::ParsedDocument> parsed)
    : mParsed(std::move(parsed)) {}

HtmlDocument::~HtmlDocument() = default;

ElementList HtmlDocument::getElementsByTagName(std::string_view name) const {
    return elementsByTagName(tree(), tree().document(), name);
}

const parser::NodeTree& HtmlDocument::tree() const {
    return mParsed->tree;
}

std::string HtmlDocument::dump() const {
    return parser::dumpTree(tree());
}

}  // namespace veltrano::html
