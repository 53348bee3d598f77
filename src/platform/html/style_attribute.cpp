#include "platform/html/style_attribute.h"

#include <array>
#include <string>
#include <utility>

namespace veltrano::html {
namespace {

bool isCssSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A declaration's name or value in canonical form: comments removed, ASCII lower case, runs
// of white space made one space, none at either end. Keywords are all this parser compares.
std::string canonical(std::string_view text) {
    std::string result;
    bool pendingSpace = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "/*") == 0) {
            const std::size_t end = text.find("*/", i + 2);
            i = end == std::string_view::npos ? text.size() : end + 1;
            pendingSpace = true;
            continue;
        }
        if (isCssSpace(text[i])) {
            pendingSpace = true;
            continue;
        }
        if (pendingSpace && !result.empty()) {
            result += ' ';
        }
        pendingSpace = false;
        result += asciiLower(text[i]);
    }
    return result;
}

// Removes a trailing "!important": without other sources of style it changes nothing.
void dropImportant(std::string& value) {
    constexpr std::string_view kImportant = "important";
    if (value.size() < kImportant.size() ||
        value.compare(value.size() - kImportant.size(), kImportant.size(), kImportant) != 0) {
        return;
    }
    std::size_t bang = value.size() - kImportant.size();
    if (bang > 0 && value[bang - 1] == ' ') {
        --bang;
    }
    if (bang == 0 || value[bang - 1] != '!') {
        return;
    }
    value.resize(bang - 1);
    if (!value.empty() && value.back() == ' ') {
        value.pop_back();
    }
}

template <class T, std::size_t N>
bool lookUp(const std::array<std::pair<std::string_view, T>, N>& table, std::string_view key,
            T& result) {
    for (const auto& [name, value] : table) {
        if (name == key) {
            result = value;
            return true;
        }
    }
    return false;
}

constexpr std::array<std::pair<std::string_view, Display>, 35> kDisplays{{
    {"none", Display::None},
    {"contents", Display::Contents},
    {"inline", Display::Inline},
    {"inline flow", Display::Inline},
    {"ruby", Display::Inline},
    {"ruby-base", Display::Inline},
    {"ruby-text", Display::Inline},
    {"block", Display::Block},
    {"block flow", Display::Block},
    {"flow-root", Display::Block},
    {"block flow-root", Display::Block},
    {"list-item", Display::Block},
    {"block list-item", Display::Block},
    {"run-in", Display::Block},
    {"inline-block", Display::InlineBlock},
    {"inline flow-root", Display::InlineBlock},
    {"inline list-item", Display::InlineBlock},
    {"flex", Display::Flex},
    {"block flex", Display::Flex},
    {"grid", Display::Flex},
    {"block grid", Display::Flex},
    {"-webkit-box", Display::Flex},
    {"inline-flex", Display::InlineFlex},
    {"inline flex", Display::InlineFlex},
    {"inline-grid", Display::InlineFlex},
    {"inline grid", Display::InlineFlex},
    {"-webkit-inline-box", Display::InlineFlex},
    {"table", Display::Table},
    {"inline-table", Display::InlineTable},
    {"table-header-group", Display::HeaderGroup},
    {"table-row-group", Display::RowGroup},
    {"table-footer-group", Display::FooterGroup},
    {"table-row", Display::Row},
    {"table-cell", Display::Cell},
    {"table-caption", Display::Caption},
}};

constexpr std::array<std::pair<std::string_view, WhiteSpace>, 6> kWhiteSpaces{{
    {"normal", WhiteSpace::Collapse},
    {"nowrap", WhiteSpace::Collapse},
    {"pre-line", WhiteSpace::PreserveBreaks},
    {"pre", WhiteSpace::Preserve},
    {"pre-wrap", WhiteSpace::Preserve},
    {"break-spaces", WhiteSpace::Preserve},
}};

constexpr std::array<std::pair<std::string_view, TextTransform>, 4> kTextTransforms{{
    {"none", TextTransform::None},
    {"uppercase", TextTransform::Uppercase},
    {"lowercase", TextTransform::Lowercase},
    {"capitalize", TextTransform::Capitalize},
}};

constexpr std::array<std::pair<std::string_view, bool>, 8> kFloats{{
    {"none", false},
    {"initial", false},
    {"unset", false},
    {"revert", false},
    {"left", true},
    {"right", true},
    {"inline-start", true},
    {"inline-end", true},
}};

constexpr std::array<std::pair<std::string_view, bool>, 8> kPositions{{
    {"static", false},
    {"relative", false},
    {"sticky", false},
    {"initial", false},
    {"unset", false},
    {"revert", false},
    {"absolute", true},
    {"fixed", true},
}};

// Float and position as declared so far: either takes the box out of the line.
struct Flow {
    bool floated = false;
    bool positioned = false;
};

void applyDeclaration(std::string_view name, std::string_view value, const InheritedStyle& parent,
                      ElementStyle& style, Flow& flow) {
    // For inherited properties `inherit` and `unset` take the parent's value; `revert` goes
    // back to the tag's default, which is what style holds before any declaration.
    const bool inherits = value == "inherit" || value == "unset";
    if (name == "display") {
        if (value == "initial" || value == "unset") {
            style.display = Display::Inline;
        } else if (value == "table-column" || value == "table-column-group") {
            style.display = Display::Column;
        } else {
            lookUp(kDisplays, value, style.display);
        }
    } else if (name == "visibility") {
        if (inherits) {
            style.inherited.visible = parent.visible;
        } else if (value == "visible" || value == "initial") {
            style.inherited.visible = true;
        } else if (value == "hidden" || value == "collapse") {
            style.inherited.visible = false;
        }
    } else if (name == "white-space") {
        if (inherits) {
            style.inherited.whiteSpace = parent.whiteSpace;
        } else if (value == "initial") {
            style.inherited.whiteSpace = WhiteSpace::Collapse;
        } else {
            lookUp(kWhiteSpaces, value, style.inherited.whiteSpace);
        }
    } else if (name == "text-transform") {
        if (inherits) {
            style.inherited.textTransform = parent.textTransform;
        } else if (value == "initial") {
            style.inherited.textTransform = TextTransform::None;
        } else {
            lookUp(kTextTransforms, value, style.inherited.textTransform);
        }
    } else if (name == "float") {
        lookUp(kFloats, value, flow.floated);
    } else if (name == "position") {
        lookUp(kPositions, value, flow.positioned);
    }
}

}  // namespace

bool applyStyleAttribute(std::string_view declarations, const InheritedStyle& parent,
                         ElementStyle& style) {
    Flow flow;
    std::size_t start = 0;
    char quote = 0;
    int depth = 0;
    for (std::size_t i = 0; i <= declarations.size(); ++i) {
        const char c = i < declarations.size() ? declarations[i] : ';';
        if (quote != 0) {
            if (c == '\\') {
                ++i;
            } else if (c == quote) {
                quote = 0;
            }
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && depth > 0) {
            --depth;
        } else if (c == ';' && (depth == 0 || i == declarations.size())) {
            const std::string_view declaration = declarations.substr(start, i - start);
            start = i + 1;
            depth = 0;
            const std::size_t colon = declaration.find(':');
            if (colon == std::string_view::npos) {
                continue;
            }
            const std::string name = canonical(declaration.substr(0, colon));
            std::string value = canonical(declaration.substr(colon + 1));
            dropImportant(value);
            applyDeclaration(name, value, parent, style, flow);
        }
    }
    return flow.floated || flow.positioned;
}

}  // namespace veltrano::html
