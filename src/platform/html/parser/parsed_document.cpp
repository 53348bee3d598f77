#include "platform/html/parser/parsed_document.h"

#include <cstddef>
#include <limits>
#include <stdexcept>

#include "platform/html/parser/tokenizer.h"
#include "platform/html/parser/tree_builder.h"

namespace veltrano::html::parser {
namespace {

// The HTML Standard's input stream preprocessing: CR LF and lone CR become LF, in place.
void normalizeNewlines(std::string& text) {
    std::size_t write = 0;
    for (std::size_t read = 0; read < text.size(); ++read) {
        if (text[read] == '\r') {
            text[write++] = '\n';
            if (read + 1 < text.size() && text[read + 1] == '\n') {
                ++read;
            }
        } else {
            text[write++] = text[read];
        }
    }
    text.resize(write);
}

}  // namespace

std::unique_ptr<ParsedDocument> parseHtml(std::string decoded) {
    if (decoded.size() > TextStore::kMaximumInputBytes) {
        throw std::length_error("HTML document too large to parse");
    }
    normalizeNewlines(decoded);
    auto document = std::make_unique<ParsedDocument>();
    document->text.input() = std::move(decoded);
    TreeBuilder builder(document->text, document->tree);
    Tokenizer tokenizer(document->text, document->tree.names(), builder);
    builder.setTokenizer(&tokenizer);
    while (tokenizer.run(std::numeric_limits<std::size_t>::max())) {
    }
    document->mode = builder.documentMode();
    return document;
}

}  // namespace veltrano::html::parser
