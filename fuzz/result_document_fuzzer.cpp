// Cell text written into joined.html. Read back the way a browser reads the page
// (windows-1252, then the references), the cell must give the text again, with U+FFFD for
// invalid UTF-8; the sizes told in advance must be the sizes written, and a row reserved in
// advance must never move the buffer.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "join/legacy_code_page.h"
#include "join/result_document.h"
#include "platform/html/encoding.h"
#include "platform/html/single_byte_decoder.h"
#include "platform/html/utf8_decoder.h"
#include "platform/html/utf8_writer.h"

using veltrano::fuzz::require;
namespace html = veltrano::html;

namespace {

// Resolves "&amp;", "&lt;", "&gt;" and "&#N;", the only references the writer writes; every
// "&" of the text starts one, since a literal "&" is written as "&amp;".
std::string resolveReferences(std::string_view text) {
    std::string resolved;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '&') {
            resolved += text[at];
            continue;
        }
        const std::size_t end = text.find(';', at);
        require(end != std::string_view::npos, "a reference ends with a semicolon");
        const std::string_view name = text.substr(at + 1, end - at - 1);
        if (name == "amp" || name == "lt" || name == "gt") {
            resolved += name == "amp" ? '&' : name == "lt" ? '<' : '>';
        } else {
            require(name.size() > 1 && name.size() <= 8 && name[0] == '#',
                    "a reference is named or decimal");
            char32_t character = 0;
            for (const char digit : name.substr(1)) {
                require(digit >= '0' && digit <= '9', "a decimal reference has only digits");
                character = character * 10 + static_cast<char32_t>(digit - '0');
            }
            require(character >= 0x80 && character <= 0x10FFFF, "a reference is non-ASCII");
            html::appendUtf8(resolved, character);
        }
        at = end;
    }
    return resolved;
}

void checkRoundTrip(std::string_view text) {
    const std::size_t size = veltrano::escapedLegacyTextSize(text);
    require(size <= veltrano::maxEscapedLegacyTextSize(text.size()), "the worst case bounds it");
    const auto buffer = std::make_unique<char[]>(size + 1);
    const char* const end = veltrano::writeEscapedLegacyText(buffer.get(), text);
    require(end == buffer.get() + size, "the size told is the size written");

    std::string shown;
    html::SingleByteDecoder::forEncoding(html::Encoding::Windows1252)
        ->decode(std::string_view(buffer.get(), size), shown);
    std::string expected;
    html::decodeUtf8(text, expected);
    require(resolveReferences(shown) == expected, "the page shows the cell's text");
}

void checkDocument(std::string_view text) {
    using veltrano::ResultDocument;
    ResultDocument document;
    document.appendHead();
    const std::size_t cellSize = ResultDocument::dataCellSize(text);
    document.reserveRows(ResultDocument::kRowFrameSize + cellSize +
                         ResultDocument::kFillerCellSize);
    const char* const reserved = document.bytes().data();

    document.appendRowStart();
    const std::size_t cellStart = document.bytes().size();
    document.appendDataCell(text);
    const std::string_view cell = document.bytes().substr(cellStart);
    require(cell.size() == cellSize, "a data cell takes the size told");
    require(cell.starts_with("<td>") && cell.ends_with("</td>\r\n"), "a data cell is a td");
    document.appendFillerCell();
    document.appendRowEnd();
    document.appendTail();
    require(document.bytes().data() == reserved, "a reserved row never moves the buffer");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = veltrano::fuzz::bytesOf(data, size);
    checkRoundTrip(text);
    checkDocument(text);
    return 0;
}
