#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/html/css/selector.h"
#include "platform/html/parser/node_tree.h"

namespace veltrano::html::css {

// The tags, ids and classes of an element's ancestors, folded into a few bits each (a Bloom
// filter), so that a rule asking for an ancestor none has is turned down before it is matched.
// Names are folded to ASCII lower case, which makes the test a little looser, never wrong.
class AncestorFilter final {
public:
    static constexpr std::size_t kMostHashes = 4;

    // The hashes of what a selector requires of the subject's ancestors: the ids, classes and
    // tags of the compounds it reaches through descendant and child combinators alone (at most
    // kMostHashes; count says how many).
    static std::size_t requiredHashes(const SelectorSet& selectors, std::uint32_t complex,
                                      std::array<std::uint32_t, kMostHashes>& hashes);

    // The filter of the element's ancestors. Elements of one parent share it: it is worked out
    // again only for an element of another parent (the tree must not change meanwhile).
    void build(const parser::NodeTree& tree, parser::NodeId element);
    // Forgets the filter if it was worked out for a parent below released (whose nodes have
    // been let go); one for released itself or above it still holds.
    void forgetBelow(const parser::NodeTree& tree, parser::NodeId released);

    bool mayHave(const std::uint32_t* hashes, std::size_t count) const {
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t h = hashes[i];
            if ((mBits[(h >> 6) & 3] & (std::uint64_t{1} << (h & 63))) == 0 ||
                (mBits[(h >> 14) & 3] & (std::uint64_t{1} << ((h >> 8) & 63))) == 0) {
                return false;
            }
        }
        return true;
    }

    static std::uint32_t hash(std::string_view text, char kind);

private:
    void add(std::uint32_t h) {
        mBits[(h >> 6) & 3] |= std::uint64_t{1} << (h & 63);
        mBits[(h >> 14) & 3] |= std::uint64_t{1} << ((h >> 8) & 63);
    }

    std::array<std::uint64_t, 4> mBits{};
    parser::NodeId mParent = parser::kNoNode;  // whose ancestors mBits holds (itself included)
};

}  // namespace veltrano::html::css
