#include "platform/html/css/declared_value.h"

#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/html/ascii_case.h"
#include "platform/html/element_style.h"

namespace veltrano::html::css {
namespace {

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

// The white-space shorthand's single keywords (each also sets text-wrap-mode, which does not
// change text).
constexpr std::array<std::pair<std::string_view, WhiteSpace>, 6> kWhiteSpaces{{
    {"normal", WhiteSpace::Collapse},
    {"nowrap", WhiteSpace::Collapse},
    {"pre-line", WhiteSpace::PreserveBreaks},
    {"pre", WhiteSpace::Preserve},
    {"pre-wrap", WhiteSpace::Preserve},
    {"break-spaces", WhiteSpace::Preserve},
}};

constexpr std::array<std::pair<std::string_view, WhiteSpace>, 4> kWhiteSpaceCollapses{{
    {"collapse", WhiteSpace::Collapse},
    {"preserve", WhiteSpace::Preserve},
    {"preserve-breaks", WhiteSpace::PreserveBreaks},
    {"break-spaces", WhiteSpace::Preserve},
}};

constexpr std::array<std::pair<std::string_view, TextTransform>, 5> kTextTransforms{{
    {"none", TextTransform::None},
    {"uppercase", TextTransform::Uppercase},
    {"lowercase", TextTransform::Lowercase},
    {"capitalize", TextTransform::Capitalize},
    {"math-auto", TextTransform::MathAuto},
}};

constexpr std::array<std::pair<std::string_view, std::uint8_t>, 5> kFloats{{
    {"none", 0},
    {"left", 1},
    {"right", 1},
    {"inline-start", 1},
    {"inline-end", 1},
}};

constexpr std::array<std::pair<std::string_view, std::uint8_t>, 5> kPositions{{
    {"static", 0},
    {"relative", 0},
    {"sticky", 0},
    {"absolute", 1},
    {"fixed", 1},
}};

constexpr std::array<std::pair<std::string_view, std::uint8_t>, 3> kVisibilities{{
    {"visible", 1},
    {"hidden", 0},
    {"collapse", 0},
}};

constexpr std::array<std::pair<std::string_view, WideKeyword>, 5> kWideKeywords{{
    {"inherit", WideKeyword::Inherit},
    {"initial", WideKeyword::Initial},
    {"unset", WideKeyword::Unset},
    {"revert", WideKeyword::Revert},
    {"revert-layer", WideKeyword::RevertLayer},
}};

constexpr std::array<std::pair<std::string_view, Property>, 6> kLonghands{{
    {"display", Property::Display},
    {"visibility", Property::Visibility},
    {"white-space-collapse", Property::WhiteSpaceCollapse},
    {"text-transform", Property::TextTransform},
    {"float", Property::Float},
    {"position", Property::Position},
}};

class ValueReader final {
public:
    ValueReader(const ComponentValues& values, ValueRange range) : mValues(values) {
        for (std::uint32_t i = range.begin; i < range.end; i = values[i].end) {
            if (values[i].hasContents() || !values[i].token.is(TokenType::Whitespace)) {
                mItems.push_back(i);
            }
        }
        mUsesVariables = usesVariables(range);
    }

    bool usesVariables() const { return mUsesVariables; }
    std::size_t size() const { return mItems.size(); }
    const ComponentValue& operator[](std::size_t i) const { return mValues[mItems[i]]; }
    std::uint32_t index(std::size_t i) const { return mItems[i]; }

    bool isIdent(std::size_t i) const {
        return !(*this)[i].hasContents() && (*this)[i].token.is(TokenType::Ident);
    }

    // All values as lower-case keywords separated by single spaces, or nothing when any value
    // is not an ident.
    std::optional<std::string> keywords() const {
        std::string out;
        for (std::size_t i = 0; i < size(); ++i) {
            if (!isIdent(i)) {
                return std::nullopt;
            }
            if (!out.empty()) {
                out += ' ';
            }
            out += asciiLowered((*this)[i].token.value);
        }
        return out;
    }

private:
    bool usesVariables(ValueRange range) const {
        for (std::uint32_t i = range.begin; i < range.end; ++i) {
            if (mValues[i].isFunction() && equalsIgnoringAsciiCase(mValues[i].token.value, "var")) {
                return true;
            }
        }
        return false;
    }

    const ComponentValues& mValues;
    std::vector<std::uint32_t> mItems;
    bool mUsesVariables = false;
};

// white-space: one of its own keywords, or white-space-collapse and text-wrap-mode values in
// either order.
std::optional<WhiteSpace> whiteSpaceOf(const std::string& keywords) {
    if (const auto single = lookUp(kWhiteSpaces, keywords)) {
        return single;
    }
    std::optional<WhiteSpace> collapse;
    bool wrapSeen = false;
    std::size_t start = 0;
    while (start <= keywords.size()) {
        std::size_t end = keywords.find(' ', start);
        end = end == std::string::npos ? keywords.size() : end;
        const std::string_view word = std::string_view(keywords).substr(start, end - start);
        if (const auto found = lookUp(kWhiteSpaceCollapses, word); found && !collapse) {
            collapse = found;
        } else if ((word == "wrap" || word == "nowrap") && !wrapSeen) {
            wrapSeen = true;
        } else {
            return std::nullopt;
        }
        start = end + 1;
    }
    return collapse.value_or(WhiteSpace::Collapse);
}

// Items of a content value up to "/" (alternative text, which rendered text never shows).
std::optional<GeneratedContent> contentItems(const ValueReader& reader,
                                             const ComponentValues& values) {
    GeneratedContent items;
    for (std::size_t i = 0; i < reader.size(); ++i) {
        const ComponentValue& value = reader[i];
        const Token& token = value.token;
        if (token.isDelim('/') && !value.hasContents()) {
            break;
        }
        if (!value.hasContents() && token.is(TokenType::String)) {
            items.push_back({ContentItem::Kind::Text, token.value});
        } else if (!value.hasContents() && token.is(TokenType::Url)) {
            items.push_back({ContentItem::Kind::Symbol, {}});
        } else if (reader.isIdent(i)) {
            const std::string word = asciiLowered(token.value);
            if (word == "open-quote" || word == "close-quote") {
                items.push_back({ContentItem::Kind::Symbol, {}});
            } else if (word != "no-open-quote" && word != "no-close-quote") {
                return std::nullopt;
            }
        } else if (value.isFunction()) {
            const std::string name = asciiLowered(token.value);
            ValueReader arguments(values, contentsOf(values, reader.index(i)));
            if (name == "attr") {
                if (arguments.size() == 0 || !arguments.isIdent(0)) {
                    return std::nullopt;
                }
                items.push_back(
                    {ContentItem::Kind::Attribute, asciiLowered(arguments[0].token.value)});
            } else if (name == "counter" || name == "counters") {
                // A counter shows digits (or a marker), unless its style is none.
                const bool hidden =
                    arguments.size() >= 3 && arguments.isIdent(arguments.size() - 1) &&
                    equalsIgnoringAsciiCase(arguments[arguments.size() - 1].token.value, "none");
                if (!hidden) {
                    items.push_back({ContentItem::Kind::Symbol, {}});
                }
            } else if (name == "url" || name == "image-set" || name == "-webkit-image-set" ||
                       name.ends_with("gradient") || name == "image" || name == "cross-fade") {
                items.push_back({ContentItem::Kind::Symbol, {}});
            } else {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    if (reader.size() == 0) {
        return std::nullopt;
    }
    return items;
}

}  // namespace

void addDeclaredValues(const Declaration& declaration, const ComponentValues& values,
                       std::vector<DeclaredValue>& out, std::vector<GeneratedContent>& contents) {
    const std::string name = asciiLowered(declaration.name);
    std::optional<Property> longhand = lookUp(kLonghands, name);
    const bool isWhiteSpace = name == "white-space";
    const bool isAll = name == "all";
    const bool isContent = name == "content";
    if (!longhand && !isWhiteSpace && !isAll && !isContent) {
        return;
    }
    if (isWhiteSpace) {
        longhand = Property::WhiteSpaceCollapse;
    } else if (isContent) {
        longhand = Property::Content;
    }
    const ValueReader reader(values, declaration.value);
    DeclaredValue value;
    value.important = declaration.important;
    std::optional<std::string> keywords = reader.keywords();
    if (reader.usesVariables()) {
        value.wide = WideKeyword::Unset;
    } else if (keywords && reader.size() == 1) {
        value.wide = lookUp(kWideKeywords, *keywords).value_or(WideKeyword::None);
    }
    if (isAll) {
        if (value.wide == WideKeyword::None) {
            return;
        }
        for (std::size_t p = 0; p < kPropertyCount; ++p) {
            value.property = static_cast<Property>(p);
            out.push_back(value);
        }
        return;
    }
    value.property = *longhand;
    if (value.wide != WideKeyword::None) {
        out.push_back(value);
        return;
    }
    std::optional<std::uint8_t> keyword;
    const auto take = [&keyword](auto found) {
        if (found) {
            keyword = static_cast<std::uint8_t>(*found);
        }
    };
    if (value.property == Property::Content) {
        if (keywords == "normal" || keywords == "none") {
            keyword = static_cast<std::uint8_t>(*keywords == "none" ? ContentKeyword::None
                                                                    : ContentKeyword::Normal);
        } else if (auto items = contentItems(reader, values)) {
            keyword = static_cast<std::uint8_t>(ContentKeyword::Items);
            value.content = static_cast<std::uint32_t>(contents.size());
            contents.push_back(std::move(*items));
        }
    } else if (keywords) {
        switch (value.property) {
            case Property::Display:
                take(lookUp(kDisplays, *keywords));
                break;
            case Property::Visibility:
                take(lookUp(kVisibilities, *keywords));
                break;
            case Property::WhiteSpaceCollapse:
                take(isWhiteSpace ? whiteSpaceOf(*keywords)
                                  : lookUp(kWhiteSpaceCollapses, *keywords));
                break;
            case Property::TextTransform:
                take(lookUp(kTextTransforms, *keywords));
                break;
            case Property::Float:
                take(lookUp(kFloats, *keywords));
                break;
            case Property::Position:
                take(lookUp(kPositions, *keywords));
                break;
            case Property::Content:
                break;
        }
    }
    if (keyword) {
        value.keyword = *keyword;
        out.push_back(value);
    }
}

}  // namespace veltrano::html::css
