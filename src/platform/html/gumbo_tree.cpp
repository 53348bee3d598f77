#include "platform/html/gumbo_tree.h"

namespace veltrano::html {

std::string_view elementName(const GumboElement& element) {
    if (element.tag != GUMBO_TAG_UNKNOWN) {
        return gumbo_normalized_tagname(element.tag);
    }
    GumboStringPiece name = element.original_tag;
    gumbo_tag_from_original_text(&name);
    return {name.data, name.length};
}

const char* attributeValue(const GumboElement& element, const char* name) {
    const GumboAttribute* attribute = gumbo_get_attribute(&element.attributes, name);
    return attribute != nullptr ? attribute->value : nullptr;
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
