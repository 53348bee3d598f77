#include "platform/html/css/ancestor_filter.h"

#include "platform/html/ascii_case.h"

namespace veltrano::html::css {
// FNV-1a over the ASCII lower case of the text, after a byte that tells tags, ids and classes
// apart.
std::uint32_t AncestorFilter::hash(std::string_view text, char kind) {
    std::uint32_t h = 2166136261u;
    h = (h ^ static_cast<unsigned char>(kind)) * 16777619u;
    for (const char c : text) {
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
        h = (h ^ static_cast<unsigned char>(lower)) * 16777619u;
    }
    return h;
}

std::size_t AncestorFilter::requiredHashes(const SelectorSet& selectors, std::uint32_t complex,
                                           std::array<std::uint32_t, kMostHashes>& hashes) {
    const ComplexSelector& selector = selectors.complexes[complex];
    std::size_t count = 0;
    for (std::uint32_t c = selector.compoundBegin; c + 1 < selector.compoundEnd; ++c) {
        const Combinator toLeft = selectors.compounds[c].toLeft;
        if (toLeft != Combinator::Descendant && toLeft != Combinator::Child) {
            break;
        }
        const Compound& ancestor = selectors.compounds[c + 1];
        for (std::uint32_t s = ancestor.simpleBegin; s < ancestor.simpleEnd; ++s) {
            const SimpleSelector& simple = selectors.simples[s];
            std::uint32_t h = 0;
            if (simple.kind == SimpleKind::Id) {
                h = hash(selectors.texts[simple.text], '#');
            } else if (simple.kind == SimpleKind::Class) {
                h = hash(selectors.texts[simple.text], '.');
            } else if (simple.kind == SimpleKind::Type) {
                h = hash(selectors.names[simple.name].lower, '<');
            } else {
                continue;
            }
            hashes[count++] = h;
            if (count == kMostHashes) {
                return count;
            }
        }
    }
    return count;
}

void AncestorFilter::forgetBelow(parser::NodeId released) {
    for (std::size_t level = mPath.size(); level-- > 1;) {
        if (mPath[level].node == released) {
            mPath.resize(level + 1);
            return;
        }
    }
}

void AncestorFilter::push(const parser::NodeTree& tree, parser::NodeId node) {
    Bits bits = mPath.back().bits;
    add(bits, hash(tree.nameText(tree[node].name), '<'));
    for (const parser::Attribute& attribute : tree.attributes(node)) {
        if (attribute.ns != parser::AttributeNamespace::None) {
            continue;
        }
        const std::string_view value = tree.text().view(attribute.value);
        if (attribute.name == parser::nameId(parser::KnownName::Id)) {
            add(bits, hash(value, '#'));
        } else if (attribute.name == parser::nameId(parser::KnownName::Class)) {
            forEachAsciiToken(value, [&](std::string_view name) { add(bits, hash(name, '.')); });
        }
    }
    mPath.push_back({node, bits});
}

void AncestorFilter::build(const parser::NodeTree& tree, parser::NodeId element) {
    const parser::NodeId parent = tree[element].parent;
    const bool parentIsElement =
        parent != parser::kNoNode && tree[parent].kind == parser::NodeKind::Element;
    // Walking from one element to the next in document order leaves the path at most a few
    // levels below where it was; anything else starts it afresh.
    constexpr std::size_t kLevelsLookedAt = 4;
    for (std::size_t looked = 0; looked < kLevelsLookedAt && looked < mPath.size(); ++looked) {
        const std::size_t level = mPath.size() - 1 - looked;
        if (mPath[level].node == (parentIsElement ? parent : parser::kNoNode)) {
            mPath.resize(level + 1);
            return;
        }
        if (parentIsElement && mPath[level].node == tree[parent].parent) {
            mPath.resize(level + 1);
            push(tree, parent);
            return;
        }
    }
    mPath.resize(1);
    mScratch.clear();
    for (parser::NodeId node = parentIsElement ? parent : parser::kNoNode;
         node != parser::kNoNode && tree[node].kind == parser::NodeKind::Element;
         node = tree[node].parent) {
        mScratch.push_back(node);
    }
    for (auto it = mScratch.rbegin(); it != mScratch.rend(); ++it) {
        push(tree, *it);
    }
}

}  // namespace veltrano::html::css
