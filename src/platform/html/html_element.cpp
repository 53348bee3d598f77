#include "platform/html/html_element.h"

#include "platform/html/ascii_case.h"
#include "platform/html/gumbo_tree.h"

namespace veltrano::html {

ElementList elementsByTagName(const GumboInternalNode& root, std::string_view name) {
    // Comparing gumbo's tag numbers first keeps the common case (known tags) to one integer
    // comparison per element.
    const GumboTag tag = gumbo_tagn_enum(name.data(), static_cast<unsigned>(name.size()));
    std::vector<Element> found;
    std::vector<WalkFrame> stack;
    walkBelow(
        root, stack,
        [&](const GumboNode& node) {
            if (isElement(node)) {
                const GumboElement& element = node.v.element;
                if (element.tag == tag && (tag != GUMBO_TAG_UNKNOWN ||
                                           equalsIgnoringAsciiCase(elementName(element), name))) {
                    found.emplace_back(&node);
                }
            }
            return true;
        },
        [](const GumboNode&) {});
    return ElementList(std::move(found));
}

ElementList Element::getElementsByTagName(std::string_view name) const {
    return elementsByTagName(*mNode, name);
}

std::string Element::textContent() const {
    std::string text;
    std::vector<WalkFrame> stack;
    appendTextContent(*mNode, text, stack);
    return text;
}

}  // namespace veltrano::html
