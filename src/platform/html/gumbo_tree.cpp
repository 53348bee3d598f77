#include "platform/html/gumbo_tree.h"

#include <cstring>

namespace veltrano::html {

std::string_view elementName(const GumboElement& element) {
    if (element.tag != GUMBO_TAG_UNKNOWN) {
        return gumbo_normalized_tagname(element.tag);
    }
    GumboStringPiece name = element.original_tag;
    gumbo_tag_from_original_text(&name);
    return {name.data, name.length};
}

// The tokenizer lower-cases attribute names, so an exact comparison finds them.
const char* attributeValue(const GumboElement& element, const char* name) {
    for (unsigned i = 0; i < element.attributes.length; ++i) {
        const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
        if (std::strcmp(attribute->name, name) == 0) {
            return attribute->value;
        }
    }
    return nullptr;
}

void appendTextContent(const GumboNode& root, std::string& out, std::vector<WalkFrame>& stack) {
    walkBelow(
        root, stack,
        [&out](const GumboNode& node) {
            if (isText(node)) {
                out += node.v.text.text;
            }
            return true;
        },
        [](const GumboNode&) {});
}

}  // namespace veltrano::html
