#include "platform/html/style_attribute.h"

#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/html/ascii_case.h"

namespace veltrano::html {
namespace {

bool isCssSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// A declaration's name or value in canonical form: comments removed, ASCII lower case, runs
// of white space made one space, none at either end, and no trailing "!important" (without
// other sources of style it changes nothing). Held in a small buffer without allocating: the
// keywords compared here are short, and a longer text (a colour, a font list) matches none.
class Keyword final {
public:
    explicit Keyword(std::string_view text) {
        bool pendingSpace = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '/' && i + 1 < text.size() && text[i + 1] == '*') {
                const std::size_t end = text.find("*/", i + 2);
                i = end == std::string_view::npos ? text.size() : end + 1;
                pendingSpace = true;
            } else if (isCssSpace(text[i])) {
                pendingSpace = true;
            } else {
                if (pendingSpace && mSize > 0) {
                    append(' ');
                }
                pendingSpace = false;
                append(asciiLower(text[i]));
            }
        }
        dropImportant();
    }

    // Empty, and so unequal to every keyword, when the text was too long.
    std::string_view view() const { return mFits ? std::string_view(mText, mSize) : ""; }

private:
    static constexpr std::size_t kCapacity = 32;

    void append(char c) {
        if (mSize == kCapacity) {
            mFits = false;
        } else {
            mText[mSize++] = c;
        }
    }

    void dropImportant() {
        constexpr std::string_view kImportant = "important";
        const std::string_view text = view();
        if (!text.ends_with(kImportant)) {
            return;
        }
        std::size_t bang = text.size() - kImportant.size();
        if (bang > 0 && text[bang - 1] == ' ') {
            --bang;
        }
        if (bang == 0 || text[bang - 1] != '!') {
            return;
        }
        mSize = bang - 1;
        if (mSize > 0 && mText[mSize - 1] == ' ') {
            --mSize;
        }
    }

    char mText[kCapacity];
    std::size_t mSize = 0;
    bool mFits = true;
};

template <class T, std::size_t N>
std::optional<T> lookUp(const std::array<std::pair<std::string_view, T>, N>& table,
                        std::string_view key) {
    for (const auto& [name, value] : table) {
        if (name == key) {
            return value;
        }
    }
    return std::nullopt;
}

template <class T>
void assignFound(T& target, const std::optional<T>& found) {
    if (found) {
        target = *found;
    }
}

constexpr std::array<std::pair<std::string_view, Display>, 37> kDisplays{{
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
    {"table-column", Display::Column},
    {"table-column-group", Display::Column},
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

// Where the declaration starting at `from` ends: at the next semicolon outside strings and
// parentheses, or at the end of the text.
std::size_t declarationEnd(std::string_view text, std::size_t from) {
    constexpr std::string_view kSpecial = ";\"'()";
    int depth = 0;
    for (std::size_t i = text.find_first_of(kSpecial, from); i < text.size();
         i = text.find_first_of(kSpecial, i + 1)) {
        const char c = text[i];
        if (c == ';' && depth == 0) {
            return i;
        }
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            depth = depth > 0 ? depth - 1 : 0;
        } else if (c == '"' || c == '\'') {
            for (++i; i < text.size() && text[i] != c; ++i) {
                i += text[i] == '\\' ? 1 : 0;
            }
        }
    }
    return text.size();
}

bool isReadProperty(std::string_view name) {
    return name == "display" || name == "visibility" || name == "white-space" ||
           name == "text-transform" || name == "float" || name == "position";
}

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
        } else {
            assignFound(style.display, lookUp(kDisplays, value));
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
        } else if (const auto found = lookUp(kWhiteSpaces, value)) {
            style.inherited.whiteSpace = *found;
        }
    } else if (name == "text-transform") {
        if (inherits) {
            style.inherited.textTransform = parent.textTransform;
        } else if (value == "initial") {
            style.inherited.textTransform = TextTransform::None;
        } else if (const auto found = lookUp(kTextTransforms, value)) {
            style.inherited.textTransform = *found;
        }
    } else if (name == "float") {
        assignFound(flow.floated, lookUp(kFloats, value));
    } else if (name == "position") {
        assignFound(flow.positioned, lookUp(kPositions, value));
    }
}

}  // namespace

bool applyStyleAttribute(std::string_view declarations, const InheritedStyle& parent,
                         ElementStyle& style) {
    Flow flow;
    for (std::size_t start = 0; start < declarations.size();) {
        const std::size_t end = declarationEnd(declarations, start);
        const std::string_view declaration = declarations.substr(start, end - start);
        start = end + 1;
        const std::size_t colon = declaration.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        const Keyword name(declaration.substr(0, colon));
        if (isReadProperty(name.view())) {
            applyDeclaration(name.view(), Keyword(declaration.substr(colon + 1)).view(), parent,
                             style, flow);
        }
    }
    return flow.floated || flow.positioned;
}

}  // namespace veltrano::html
