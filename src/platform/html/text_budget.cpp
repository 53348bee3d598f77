#include "platform/html/text_budget.h"

#include <algorithm>
#include <string>

#include "platform/failure.h"

namespace veltrano::html {
namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
constexpr std::uint64_t kAllowance = 16 * kMiB;
constexpr std::uint64_t kCeiling = std::uint64_t{4} << 30;
constexpr std::uint64_t kRenderedPerByte = 64;
constexpr std::uint64_t kHandedOverPerByte = 16;
// About what the store spends on a cell beyond its text, so that millions of empty cells
// count too.
constexpr std::uint64_t kCellBytes = 8;

std::uint64_t limitFor(std::uint64_t documentBytes, std::uint64_t perByte) {
    // Past the ceiling's share the product could only overflow.
    if (documentBytes >= kCeiling / perByte) {
        return kCeiling;
    }
    return std::min(kCeiling, documentBytes * perByte + kAllowance);
}

[[noreturn]] void failTooLarge(std::uint64_t limit) {
    throw Failure(
        "The tables of this file are too large to show: their cells would hold more "
        "than " +
        std::to_string((limit + kMiB - 1) / kMiB) +
        " MiB of text (a table nested in tables repeats its cells in every table "
        "around it).");
}

}  // namespace

TextBudget::TextBudget(std::uint64_t documentBytes)
    : mRenderedLimit(limitFor(documentBytes, kRenderedPerByte)),
      mHandedOverLimit(limitFor(documentBytes, kHandedOverPerByte)) {}

void TextBudget::chargeRendered(std::size_t textBytes) {
    mRendered += textBytes;
    if (mRendered > mRenderedLimit) {
        failTooLarge(mRenderedLimit);
    }
}

void TextBudget::chargeHandedOver(std::size_t textBytes) {
    mHandedOver += textBytes + kCellBytes;
    if (mHandedOver > mHandedOverLimit) {
        failTooLarge(mHandedOverLimit);
    }
}

}  // namespace veltrano::html
