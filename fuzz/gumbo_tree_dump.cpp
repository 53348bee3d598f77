#include "gumbo_tree_dump.h"

#include <gumbo.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace veltrano::fuzz {
namespace {

void line(std::string& out, int depth, std::string_view text) {
    out += "| ";
    out.append(static_cast<std::size_t>(2 * depth), ' ');
    out.append(text);
    out += '\n';
}

std::string tagName(const GumboElement& element) {
    std::string name;
    if (element.tag != GUMBO_TAG_UNKNOWN) {
        name = gumbo_normalized_tagname(element.tag);
        if (element.tag_namespace == GUMBO_NAMESPACE_SVG) {
            GumboStringPiece original = element.original_tag;
            gumbo_tag_from_original_text(&original);
            if (const char* adjusted = gumbo_normalize_svg_tagname(&original)) {
                name = adjusted;
            }
        }
    } else {
        GumboStringPiece original = element.original_tag;
        gumbo_tag_from_original_text(&original);
        name.assign(original.data, original.length);
        std::transform(name.begin(), name.end(), name.begin(), [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        });
        if (element.tag_namespace == GUMBO_NAMESPACE_SVG) {
            if (const char* adjusted = gumbo_normalize_svg_tagname(&original)) {
                name = adjusted;
            }
        }
    }
    switch (element.tag_namespace) {
        case GUMBO_NAMESPACE_SVG:
            return "svg " + name;
        case GUMBO_NAMESPACE_MATHML:
            return "math " + name;
        default:
            return name;
    }
}

std::string attributeName(const GumboAttribute& attribute) {
    switch (attribute.attr_namespace) {
        case GUMBO_ATTR_NAMESPACE_XLINK:
            return std::string("xlink ") + attribute.name;
        case GUMBO_ATTR_NAMESPACE_XML:
            return std::string("xml ") + attribute.name;
        case GUMBO_ATTR_NAMESPACE_XMLNS:
            return std::string("xmlns ") + attribute.name;
        default:
            return attribute.name;
    }
}

void dumpElement(const GumboElement& element, int depth, std::string& out) {
    line(out, depth, "<" + tagName(element) + ">");
    std::vector<std::pair<std::string, std::string>> attributes;
    for (unsigned i = 0; i < element.attributes.length; ++i) {
        const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
        attributes.emplace_back(attributeName(*attribute), attribute->value);
    }
    std::sort(attributes.begin(), attributes.end());
    for (const auto& [name, value] : attributes) {
        line(out, depth + 1, name + "=\"" + value + "\"");
    }
}

// Walks with an explicit stack: gumbo's trees nest as deep as the input.
void dumpChildren(const GumboVector& roots, int rootDepth, std::string& out) {
    struct Frame {
        const GumboVector* children;
        unsigned next;
        int depth;
    };
    std::vector<Frame> stack{{&roots, 0, rootDepth}};
    std::string pendingText;
    int pendingDepth = 0;
    const auto flushText = [&] {
        if (!pendingText.empty()) {
            line(out, pendingDepth, "\"" + pendingText + "\"");
            pendingText.clear();
        }
    };
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.children->length) {
            flushText();
            stack.pop_back();
            continue;
        }
        const auto* node = static_cast<const GumboNode*>(frame.children->data[frame.next++]);
        const int depth = frame.depth;
        switch (node->type) {
            case GUMBO_NODE_TEXT:
            case GUMBO_NODE_WHITESPACE:
            case GUMBO_NODE_CDATA:
                // gumbo may split one DOM text node into several.
                pendingDepth = depth;
                pendingText += node->v.text.text;
                break;
            case GUMBO_NODE_COMMENT:
                flushText();
                line(out, depth, std::string("<!-- ") + node->v.text.text + " -->");
                break;
            case GUMBO_NODE_ELEMENT:
                flushText();
                dumpElement(node->v.element, depth, out);
                stack.push_back({&node->v.element.children, 0, depth + 1});
                break;
            case GUMBO_NODE_TEMPLATE:
                flushText();
                dumpElement(node->v.element, depth, out);
                line(out, depth + 1, "content");
                stack.push_back({&node->v.element.children, 0, depth + 2});
                break;
            default:
                break;
        }
    }
}

}  // namespace

std::string gumboTreeDump(std::string_view text) {
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    GumboOutput* output = gumbo_parse_with_options(&options, text.data(), text.size());
    std::string out;
    const GumboDocument& document = output->document->v.document;
    if (document.has_doctype) {
        std::string doctype = std::string("<!DOCTYPE ") + document.name;
        if (*document.public_identifier != '\0' || *document.system_identifier != '\0') {
            doctype += std::string(" \"") + document.public_identifier + "\" \"" +
                       document.system_identifier + "\"";
        }
        line(out, 0, doctype + ">");
    }
    dumpChildren(document.children, 0, out);
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return out;
}

}  // namespace veltrano::fuzz
