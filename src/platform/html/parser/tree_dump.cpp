#include "platform/html/parser/tree_dump.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

namespace veltrano::html::parser {
namespace {

std::string_view namespacePrefix(Namespace ns) {
    switch (ns) {
        case Namespace::Svg:
            return "svg ";
        case Namespace::MathMl:
            return "math ";
        case Namespace::Html:
            break;
    }
    return {};
}

std::string_view namespacePrefix(AttributeNamespace ns) {
    switch (ns) {
        case AttributeNamespace::XLink:
            return "xlink ";
        case AttributeNamespace::Xml:
            return "xml ";
        case AttributeNamespace::Xmlns:
            return "xmlns ";
        case AttributeNamespace::None:
            break;
    }
    return {};
}

void appendIndent(std::string& out, int depth) {
    out += "| ";
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
}

void appendDoctype(std::string& out, const Doctype& doctype) {
    out += "<!DOCTYPE ";
    out += doctype.name;
    const std::string_view publicId = doctype.publicId ? *doctype.publicId : std::string_view();
    const std::string_view systemId = doctype.systemId ? *doctype.systemId : std::string_view();
    if (!publicId.empty() || !systemId.empty()) {
        out += " \"";
        out += publicId;
        out += "\" \"";
        out += systemId;
        out += '"';
    }
    out += ">\n";
}

void appendElement(std::string& out, const NodeTree& tree, NodeId element, int depth) {
    const Node& node = tree[element];
    out += '<';
    out += namespacePrefix(node.ns);
    out += tree.nameText(node.name);
    out += ">\n";
    std::vector<std::pair<std::string, std::string_view>> attributes;
    for (const Attribute& attribute : tree.attributes(element)) {
        std::string name(namespacePrefix(attribute.ns));
        name += tree.nameText(attribute.name);
        attributes.emplace_back(std::move(name), tree.text().view(attribute.value));
    }
    std::sort(attributes.begin(), attributes.end());
    for (const auto& [name, value] : attributes) {
        appendIndent(out, depth + 1);
        out += name;
        out += "=\"";
        out += value;
        out += "\"\n";
    }
}

}  // namespace

std::string dumpTree(const NodeTree& tree) {
    struct Item {
        NodeId node;
        int depth;
        bool contents;  // the "content" line of the template node
    };
    std::string out;
    std::vector<Item> work;
    const auto pushChildren = [&](NodeId parent, int depth) {
        for (NodeId child = tree[parent].lastChild; child != kNoNode;
             child = tree[child].previousSibling) {
            work.push_back({child, depth, false});
        }
    };
    pushChildren(tree.document(), 0);
    while (!work.empty()) {
        const Item item = work.back();
        work.pop_back();
        appendIndent(out, item.depth);
        if (item.contents) {
            out += "content\n";
            if (const NodeId fragment = tree.findTemplateContents(item.node); fragment != kNoNode) {
                pushChildren(fragment, item.depth + 1);
            }
            continue;
        }
        const Node& node = tree[item.node];
        switch (node.kind) {
            case NodeKind::Doctype:
                appendDoctype(out, tree.doctype(item.node));
                break;
            case NodeKind::Element:
                appendElement(out, tree, item.node, item.depth);
                pushChildren(item.node, item.depth + 1);
                if (node.ns == Namespace::Html && tree.nameText(node.name) == "template") {
                    work.push_back({item.node, item.depth + 1, true});
                }
                break;
            case NodeKind::Text:
                out += '"';
                out += tree.textOf(item.node);
                out += "\"\n";
                break;
            case NodeKind::Comment:
                out += "<!-- ";
                out += tree.textOf(item.node);
                out += " -->\n";
                break;
            case NodeKind::Document:
            case NodeKind::Fragment:
                break;
        }
    }
    return out;
}

}  // namespace veltrano::html::parser
