#include "platform/html/css/element_language.h"

#include <optional>

#include "platform/html/ascii_case.h"

namespace veltrano::html::css {
namespace {

using parser::AttributeNamespace;
using parser::KnownName;
using parser::nameId;
using parser::NodeKind;

// The next subtag of text from pos on (pos moves past it and its hyphen).
std::string_view nextSubtag(std::string_view text, std::size_t& pos) {
    const std::size_t hyphen = text.find('-', pos);
    const std::size_t end = hyphen == std::string_view::npos ? text.size() : hyphen;
    const std::string_view subtag = text.substr(pos, end - pos);
    pos = hyphen == std::string_view::npos ? text.size() + 1 : hyphen + 1;
    return subtag;
}

}  // namespace

std::optional<std::string_view> declaredLanguage(const parser::NodeTree& tree,
                                                 parser::NodeId element) {
    const bool html = tree[element].ns == parser::Namespace::Html;
    std::optional<std::string_view> lang;
    for (const parser::Attribute& attribute : tree.attributes(element)) {
        if (attribute.name != nameId(KnownName::Lang)) {
            continue;
        }
        if (attribute.ns == AttributeNamespace::Xml) {
            return tree.text().view(attribute.value);
        }
        if (html && attribute.ns == AttributeNamespace::None) {
            lang = tree.text().view(attribute.value);
        }
    }
    return lang;
}

std::string_view elementLanguage(const parser::NodeTree& tree, parser::NodeId element) {
    for (parser::NodeId node = element;
         node != parser::kNoNode && tree[node].kind == NodeKind::Element;
         node = tree[node].parent) {
        if (const auto language = declaredLanguage(tree, node)) {
            return *language;
        }
    }
    return {};
}

bool languageMatches(std::string_view tag, std::string_view range) {
    if (tag.empty() || range.empty()) {
        return false;
    }
    std::size_t t = 0;
    std::size_t r = 0;
    const std::string_view first = nextSubtag(range, r);
    const std::string_view tagFirst = nextSubtag(tag, t);
    if (first != "*" && !equalsIgnoringAsciiCase(first, tagFirst)) {
        return false;
    }
    while (r <= range.size()) {
        const std::string_view wanted = nextSubtag(range, r);
        if (wanted == "*") {
            continue;
        }
        while (true) {
            if (t > tag.size()) {
                return false;
            }
            const std::string_view subtag = nextSubtag(tag, t);
            if (equalsIgnoringAsciiCase(subtag, wanted)) {
                break;
            }
            if (subtag.size() == 1) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace veltrano::html::css
