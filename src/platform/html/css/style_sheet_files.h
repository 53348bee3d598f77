#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/html/css/rule_set.h"
#include "platform/html/encoding.h"

namespace veltrano::html::css {

// A style sheet file's bytes as text: by its byte order mark, else its "@charset" (UTF-16
// there means UTF-8), else the encoding of what refers to it.
std::string decodeStyleSheet(std::string_view bytes, Encoding fallback, Encoding& used);

// The local file a relative URL names from a file: nothing for a URL with a scheme, one that
// starts at a root ("/x.css", "//host/x.css"), or one naming no regular file. The query and
// fragment are dropped and %-escapes decoded, as a file: URL would be read.
std::optional<std::filesystem::path> localFileFor(std::string_view url,
                                                  const std::filesystem::path& from);

// Reads the style sheets a document links to and they import, from files beside it; nothing is
// ever fetched from a network. A location is a sheet file's path; each remembers the encoding
// it was read in, the fallback of the sheets it imports.
class StyleSheetFiles final {
public:
    // Sheets larger than this are not read.
    static constexpr std::uintmax_t kMaximumSize = 16u << 20;

    StyleSheetFiles(std::filesystem::path document, Encoding documentEncoding);

    // A sheet a link's href names (relative to the document).
    std::optional<StyleSheetSource> linked(std::string_view href);
    // A sheet an @import names from the sheet at location from.
    std::optional<StyleSheetSource> imported(std::string_view url, std::string_view from);

private:
    std::optional<StyleSheetSource> read(const std::filesystem::path& file, Encoding fallback);

    std::filesystem::path mDocument;
    Encoding mDocumentEncoding;
    std::unordered_map<std::string, Encoding> mEncodings;  // by location
};

}  // namespace veltrano::html::css
