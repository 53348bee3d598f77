#include "platform/html/parser/names.h"

#include <limits>

namespace veltrano::html::parser {
namespace {

constexpr std::size_t kMostDocumentNames = std::numeric_limits<NameId>::max() - kKnownNameCount;
// The number after the last one given out is the one all further names share.
static_assert(kKnownNameCount + kMostDocumentNames == kOverflowNameId);

}  // namespace

NameId NameTable::intern(std::string_view name) {
    if (const KnownName known = knownName(name); known != KnownName::None) {
        return nameId(known);
    }
    if (const auto it = mNumbers.find(name); it != mNumbers.end()) {
        return it->second;
    }
    if (mTexts.size() >= kMostDocumentNames) {
        // Names past the limit are not remembered: they all share one number, and a page
        // with a million different attribute names must not cost a million map entries.
        mTexts.resize(kMostDocumentNames + 1);
        return kOverflowNameId;
    }
    mTexts.emplace_back(name);
    const auto number = static_cast<NameId>(kKnownNameCount + mTexts.size() - 1);
    mNumbers.emplace(name, number);
    return number;
}

std::string_view NameTable::text(NameId id) const {
    if (id < kKnownNameCount) {
        return knownNameText(static_cast<KnownName>(id));
    }
    return mTexts[id - kKnownNameCount];
}

}  // namespace veltrano::html::parser
