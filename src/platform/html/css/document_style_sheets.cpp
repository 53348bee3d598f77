#include "platform/html/css/document_style_sheets.h"

#include <string>
#include <vector>

#include "platform/html/ascii_case.h"
#include "platform/html/css/media_query.h"

namespace veltrano::html::css {
namespace {

using parser::kNoNode;
using parser::KnownName;
using parser::nameId;
using parser::NodeId;
using parser::NodeKind;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isAsciiWhitespace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isAsciiWhitespace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool hasToken(std::string_view list, std::string_view token) {
    bool found = false;
    forEachAsciiToken(list, [&](std::string_view item) {
        found = found || equalsIgnoringAsciiCase(item, token);
    });
    return found;
}

bool hasScheme(std::string_view url) {
    const std::size_t colon = url.find(':');
    return colon != std::string_view::npos && colon > 0 && url.find_first_of("/?#") > colon;
}

// A style element or stylesheet link that may supply a sheet, in tree order.
struct Candidate {
    NodeId element;
    bool isLink;
    std::string_view title;
};

class SheetCollector final {
public:
    explicit SheetCollector(const parser::NodeTree& tree) : mTree(tree) {}

    std::vector<Candidate> candidates() {
        std::vector<Candidate> found;
        // Tree order without recursion: down to the first child, else on to the next sibling of
        // the nearest node that has one.
        NodeId node = mTree[mTree.document()].firstChild;
        while (node != kNoNode) {
            if (mTree[node].kind == NodeKind::Element) {
                consider(node, found);
            }
            if (mTree[node].firstChild != kNoNode) {
                node = mTree[node].firstChild;
                continue;
            }
            while (node != kNoNode && mTree[node].nextSibling == kNoNode) {
                node = mTree[node].parent;
            }
            node = node == kNoNode ? kNoNode : mTree[node].nextSibling;
        }
        return found;
    }

    bool baseHasScheme() const { return mBaseHasScheme; }

private:
    std::optional<std::string_view> attribute(NodeId element, KnownName name) const {
        return mTree.attribute(element, nameId(name));
    }

    void consider(NodeId element, std::vector<Candidate>& found) {
        const parser::Node& node = mTree[element];
        const bool html = node.ns == parser::Namespace::Html;
        if (node.name == nameId(KnownName::Base) && html && !mBaseSeen) {
            if (const auto href = attribute(element, KnownName::Href)) {
                mBaseSeen = true;
                mBaseHasScheme = hasScheme(trimmed(*href));
            }
            return;
        }
        const bool isStyle =
            node.name == nameId(KnownName::Style) && (html || node.ns == parser::Namespace::Svg);
        const bool isLink = node.name == nameId(KnownName::Link) && html;
        if (!isStyle && !isLink) {
            return;
        }
        if (const auto type = attribute(element, KnownName::Type);
            type && !type->empty() && !equalsIgnoringAsciiCase(trimmed(*type), "text/css")) {
            return;
        }
        if (isLink) {
            const auto rel = attribute(element, KnownName::Rel);
            if (!rel || !hasToken(*rel, "stylesheet") || hasToken(*rel, "alternate") ||
                attribute(element, KnownName::Disabled) ||
                trimmed(attribute(element, KnownName::Href).value_or("")).empty()) {
                return;
            }
        }
        if (const auto media = attribute(element, KnownName::Media);
            media && !matchesMediaQueryList(*media)) {
            return;
        }
        found.push_back({element, isLink, attribute(element, KnownName::Title).value_or("")});
    }

    const parser::NodeTree& mTree;
    bool mBaseSeen = false;
    bool mBaseHasScheme = false;
};

std::string childText(const parser::NodeTree& tree, NodeId element) {
    std::string text;
    for (NodeId child = tree[element].firstChild; child != kNoNode;
         child = tree[child].nextSibling) {
        if (tree[child].kind == NodeKind::Text) {
            tree.forEachTextPiece(child, [&](std::string_view piece) { text.append(piece); });
        }
    }
    return text;
}

}  // namespace

void addDocumentStyleSheets(const parser::NodeTree& tree, std::string_view documentLocation,
                            RuleSet& rules, const LinkedStyleSheetLoader& loadLinked,
                            const ImportResolver& resolveImport) {
    SheetCollector collector(tree);
    const std::vector<Candidate> candidates = collector.candidates();
    std::string_view preferred;
    for (const Candidate& candidate : candidates) {
        if (!candidate.title.empty()) {
            preferred = candidate.title;
            break;
        }
    }
    for (const Candidate& candidate : candidates) {
        if (!candidate.title.empty() && candidate.title != preferred) {
            continue;
        }
        if (!candidate.isLink) {
            const std::string location(collector.baseHasScheme() ? std::string_view()
                                                                 : documentLocation);
            rules.addStyleSheet({childText(tree, candidate.element), location}, resolveImport);
        } else if (!collector.baseHasScheme()) {
            const auto href = tree.attribute(candidate.element, nameId(KnownName::Href));
            if (const auto sheet = loadLinked(*href)) {
                rules.addStyleSheet(*sheet, resolveImport);
            }
        }
    }
}

}  // namespace veltrano::html::css
