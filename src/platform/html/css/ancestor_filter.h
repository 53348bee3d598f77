#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

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

    // The filter of the element's ancestors. It is kept for each ancestor on the path down to
    // the last element asked about, so that the next element (a sibling, a child, a cousin)
    // costs at most its parent's own names (the tree above must not change meanwhile).
    void build(const parser::NodeTree& tree, parser::NodeId element);
    // Forgets what was worked out for nodes below released (whose nodes have been let go).
    void forgetBelow(parser::NodeId released);

    bool mayHave(const std::uint32_t* hashes, std::size_t count) const {
        const Bits& bits = mPath.back().bits;
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t h = hashes[i];
            if ((bits[(h >> 6) & 3] & (std::uint64_t{1} << (h & 63))) == 0 ||
                (bits[(h >> 14) & 3] & (std::uint64_t{1} << ((h >> 8) & 63))) == 0) {
                return false;
            }
        }
        return true;
    }

    static std::uint32_t hash(std::string_view text, char kind);

private:
    using Bits = std::array<std::uint64_t, 4>;

    // A node on the path and the bits of it and everything above it.
    struct Level {
        parser::NodeId node;
        Bits bits;
    };

    static void add(Bits& bits, std::uint32_t h) {
        bits[(h >> 6) & 3] |= std::uint64_t{1} << (h & 63);
        bits[(h >> 14) & 3] |= std::uint64_t{1} << ((h >> 8) & 63);
    }
    void push(const parser::NodeTree& tree, parser::NodeId node);

    // From the document's root element down to the parent of the last element asked about;
    // the first level, for no node, holds no bits.
    std::vector<Level> mPath{Level{parser::kNoNode, {}}};
    std::vector<parser::NodeId> mScratch;
};

}  // namespace veltrano::html::css
