#include "join/result_document.h"

#include <algorithm>
#include <cstring>

#include "join/legacy_code_page.h"

namespace veltrano {
namespace {

constexpr std::string_view kHead = "<html><title>Join Results</title><body><table border=1>\r\n";
constexpr std::string_view kRowStart = "<tr>\r\n";
constexpr std::string_view kCellStart = "<td>";
constexpr std::string_view kCellEnd = "</td>\r\n";
constexpr std::string_view kFillerCell = "<td>&nbsp;</td>\r\n";
constexpr std::string_view kRowEnd = "</tr>\r\n";
constexpr std::string_view kTail = "</table></body></html>";

static_assert(ResultDocument::kRowFrameSize == kRowStart.size() + kRowEnd.size());
static_assert(ResultDocument::kFillerCellSize == kFillerCell.size());

char* put(char* out, std::string_view piece) {
    std::memcpy(out, piece.data(), piece.size());
    return out + piece.size();
}

}  // namespace

std::size_t ResultDocument::dataCellSize(std::string_view utf8Text) {
    return kCellStart.size() + escapedLegacyTextSize(utf8Text) + kCellEnd.size();
}

void ResultDocument::reserveRows(std::size_t rowBytes) {
    const std::size_t wanted = mSize + rowBytes + kTail.size();
    if (wanted > mCapacity) {
        reallocate(wanted);
    }
}

void ResultDocument::appendHead() {
    append(kHead);
}

void ResultDocument::appendRowStart() {
    append(kRowStart);
}

void ResultDocument::appendDataCell(std::string_view utf8Text) {
    const std::size_t frame = kCellStart.size() + kCellEnd.size();
    std::size_t textRoom = maxEscapedLegacyTextSize(utf8Text.size());
    if (mCapacity - mSize < frame + textRoom) {
        // Measured instead, so that the worst case never grows a buffer the text fits in.
        textRoom = escapedLegacyTextSize(utf8Text);
    }
    char* out = room(frame + textRoom);
    out = put(out, kCellStart);
    out = writeEscapedLegacyText(out, utf8Text);
    out = put(out, kCellEnd);
    mSize = static_cast<std::size_t>(out - mBytes.get());
}

void ResultDocument::appendFillerCell() {
    append(kFillerCell);
}

void ResultDocument::appendRowEnd() {
    append(kRowEnd);
}

void ResultDocument::appendTail() {
    append(kTail);
}

char* ResultDocument::room(std::size_t bytes) {
    if (mCapacity - mSize < bytes) {
        reallocate(std::max(mSize + bytes, 2 * mCapacity));
    }
    return mBytes.get() + mSize;
}

void ResultDocument::append(std::string_view piece) {
    put(room(piece.size()), piece);
    mSize += piece.size();
}

void ResultDocument::reallocate(std::size_t capacity) {
    auto bytes = std::make_unique_for_overwrite<char[]>(capacity);
    if (mSize > 0) {
        std::memcpy(bytes.get(), mBytes.get(), mSize);
    }
    mBytes = std::move(bytes);
    mCapacity = capacity;
}

}  // namespace veltrano
