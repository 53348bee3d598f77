#include "platform/html/css/style_sheet_files.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/html/ascii_case.h"
#include "platform/html/text_decoder.h"

namespace veltrano::html::css {
namespace {

bool isAsciiAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

bool hasScheme(std::string_view url) {
    if (url.empty() || !isAsciiAlpha(url[0])) {
        return false;
    }
    for (const char c : url) {
        if (c == ':') {
            return true;
        }
        if (!isAsciiAlpha(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return false;
}

// The label of `@charset "label";` at the very start, as the bytes spell it.
std::optional<std::string_view> charsetLabel(std::string_view bytes) {
    constexpr std::string_view kStart = "@charset \"";
    if (!bytes.starts_with(kStart)) {
        return std::nullopt;
    }
    for (std::size_t i = kStart.size(); i < bytes.size() && i < 1024; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '"') {
            if (i + 1 < bytes.size() && bytes[i + 1] == ';') {
                return bytes.substr(kStart.size(), i - kStart.size());
            }
            return std::nullopt;
        }
        if (c > 0x7F) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace

std::string decodeStyleSheet(std::string_view bytes, Encoding fallback, Encoding& used) {
    used = fallback;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        used = Encoding::Utf8;
        bytes.remove_prefix(3);
    } else if (bytes.starts_with("\xFE\xFF")) {
        used = Encoding::Utf16Be;
        bytes.remove_prefix(2);
    } else if (bytes.starts_with("\xFF\xFE")) {
        used = Encoding::Utf16Le;
        bytes.remove_prefix(2);
    } else if (const auto label = charsetLabel(bytes)) {
        if (const auto declared = encodingForLabel(*label)) {
            used = *declared == Encoding::Utf16Be || *declared == Encoding::Utf16Le ? Encoding::Utf8
                                                                                    : *declared;
        }
    }
    std::string text;
    StreamDecoder(used).decode(bytes, true, text);
    return text;
}

std::optional<std::filesystem::path> localFileFor(std::string_view url,
                                                  const std::filesystem::path& from) {
    while (!url.empty() && isAsciiWhitespace(url.front())) {
        url.remove_prefix(1);
    }
    while (!url.empty() && isAsciiWhitespace(url.back())) {
        url.remove_suffix(1);
    }
    url = url.substr(0, url.find_first_of("?#"));
    if (url.empty() || hasScheme(url) || url[0] == '/' || url[0] == '\\') {
        return std::nullopt;
    }
    std::string path;
    for (std::size_t i = 0; i < url.size(); ++i) {
        const char c = url[i];
        if (c == '%' && i + 2 < url.size() && hexValue(url[i + 1]) >= 0 &&
            hexValue(url[i + 2]) >= 0) {
            path += static_cast<char>(hexValue(url[i + 1]) * 16 + hexValue(url[i + 2]));
            i += 2;
        } else {
            path += c == '\\' ? '/' : c;
        }
    }
    std::filesystem::path file = (from.parent_path() / path).lexically_normal();
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return std::nullopt;
    }
    return file;
}

StyleSheetFiles::StyleSheetFiles(std::filesystem::path document, Encoding documentEncoding)
    : mDocument(std::move(document)), mDocumentEncoding(documentEncoding) {}

std::optional<StyleSheetSource> StyleSheetFiles::linked(std::string_view href) {
    if (const auto file = localFileFor(href, mDocument)) {
        return read(*file, mDocumentEncoding);
    }
    return std::nullopt;
}

std::optional<StyleSheetSource> StyleSheetFiles::imported(std::string_view url,
                                                          std::string_view from) {
    if (from.empty()) {
        return std::nullopt;  // a sheet whose URLs lead elsewhere than to files
    }
    const auto found = mEncodings.find(std::string(from));
    const Encoding fallback = found == mEncodings.end() ? mDocumentEncoding : found->second;
    if (const auto file = localFileFor(url, std::filesystem::path(from))) {
        return read(*file, fallback);
    }
    return std::nullopt;
}

std::optional<StyleSheetSource> StyleSheetFiles::read(const std::filesystem::path& file,
                                                      Encoding fallback) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > kMaximumSize) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Encoding used = fallback;
    StyleSheetSource sheet{decodeStyleSheet(bytes, fallback, used), file.string()};
    mEncodings[sheet.location] = used;
    return sheet;
}

}  // namespace veltrano::html::css
