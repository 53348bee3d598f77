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
    // Heterogeneous lookup needs C++20's transparent unordered_map; a temporary string costs
    // little next to creating an element with a name no page uses twice.
    auto [it, inserted] = mNumbers.try_emplace(std::string(name), NameId{0});
    if (inserted) {
        if (mTexts.size() < kMostDocumentNames) {
            mTexts.emplace_back(name);
        } else {
            mTexts.resize(kMostDocumentNames + 1);
        }
        it->second = static_cast<NameId>(kKnownNameCount + mTexts.size() - 1);
    }
    return it->second;
}

std::string_view NameTable::text(NameId id) const {
    if (id < kKnownNameCount) {
        return knownNameText(static_cast<KnownName>(id));
    }
    return mTexts[id - kKnownNameCount];
}

}  // namespace veltrano::html::parser
