#include "test_tree.h"

#include <gtest/gtest.h>

namespace veltrano::html::css::testing {
namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

}  // namespace

TestTree::TestTree(std::string_view markup) : mTree(std::make_unique<parser::NodeTree>(mText)) {
    std::vector<parser::NodeId> open{mTree->document()};
    std::size_t i = 0;
    while (i < markup.size()) {
        if (markup[i] != '<') {
            const std::size_t end = std::min(markup.find('<', i), markup.size());
            mTree->appendChild(open.back(),
                               mTree->createText(mText.make(markup.substr(i, end - i))));
            i = end;
            continue;
        }
        if (markup.substr(i, 2) == "</") {
            i = markup.find('>', i) + 1;
            open.pop_back();
            continue;
        }
        ++i;
        std::size_t end = i;
        while (!isSpace(markup[end]) && markup[end] != '>' && markup[end] != '/') {
            ++end;
        }
        std::string_view name = markup.substr(i, end - i);
        parser::Namespace ns = parser::Namespace::Html;
        if (name.starts_with("svg:")) {
            ns = parser::Namespace::Svg;
            name.remove_prefix(4);
        } else if (name.starts_with("math:")) {
            ns = parser::Namespace::MathMl;
            name.remove_prefix(5);
        }
        i = end;
        std::vector<parser::Attribute> attributes;
        std::string id;
        while (true) {
            while (isSpace(markup[i])) {
                ++i;
            }
            if (markup[i] == '>' || markup[i] == '/') {
                break;
            }
            std::size_t nameEnd = i;
            while (!isSpace(markup[nameEnd]) && markup[nameEnd] != '=' && markup[nameEnd] != '>') {
                ++nameEnd;
            }
            std::string_view attributeName = markup.substr(i, nameEnd - i);
            std::string_view value;
            i = nameEnd;
            if (markup[i] == '=') {
                ++i;
                if (markup[i] == '"') {
                    const std::size_t close = markup.find('"', i + 1);
                    value = markup.substr(i + 1, close - i - 1);
                    i = close + 1;
                } else {
                    std::size_t valueEnd = i;
                    while (!isSpace(markup[valueEnd]) && markup[valueEnd] != '>') {
                        ++valueEnd;
                    }
                    value = markup.substr(i, valueEnd - i);
                    i = valueEnd;
                }
            }
            parser::Attribute attribute;
            if (attributeName.starts_with("xml:")) {
                attribute.ns = parser::AttributeNamespace::Xml;
                attributeName.remove_prefix(4);
            } else if (attributeName.starts_with("xlink:")) {
                attribute.ns = parser::AttributeNamespace::XLink;
                attributeName.remove_prefix(6);
            }
            attribute.name = mTree->names().intern(attributeName);
            attribute.value = mText.make(value);
            attributes.push_back(attribute);
            if (attributeName == "id") {
                id = std::string(value);
            }
        }
        const parser::NodeId element =
            mTree->createElement(mTree->names().intern(name), ns, attributes);
        mTree->appendChild(open.back(), element);
        if (!id.empty()) {
            mIds.emplace_back(id, element);
        }
        if (markup[i] == '/') {
            i = markup.find('>', i) + 1;
        } else {
            ++i;
            open.push_back(element);
        }
    }
}

parser::NodeId TestTree::byId(std::string_view id) const {
    for (const auto& [name, element] : mIds) {
        if (name == id) {
            return element;
        }
    }
    ADD_FAILURE() << "no element with id " << id;
    return parser::kNoNode;
}

std::vector<std::string> TestTree::ids() const {
    std::vector<std::string> out;
    for (const auto& entry : mIds) {
        out.push_back(entry.first);
    }
    return out;
}

}  // namespace veltrano::html::css::testing
