#include "platform/html/css/media_query.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/html/ascii_case.h"

namespace veltrano::html::css {
namespace {

constexpr double kWidth = 1280;
constexpr double kHeight = 1024;
constexpr double kFontSize = 16;  // what em and rem are in a media query
constexpr int kMaximumDepth = 16;

// Three-valued, as media queries are: Unknown is what an unknown feature gives.
enum class Truth : std::uint8_t { False, True, Unknown };

Truth negate(Truth t) {
    return t == Truth::Unknown ? t : (t == Truth::True ? Truth::False : Truth::True);
}

Truth both(Truth a, Truth b) {
    if (a == Truth::False || b == Truth::False) {
        return Truth::False;
    }
    return a == Truth::True && b == Truth::True ? Truth::True : Truth::Unknown;
}

Truth either(Truth a, Truth b) {
    if (a == Truth::True || b == Truth::True) {
        return Truth::True;
    }
    return a == Truth::False && b == Truth::False ? Truth::False : Truth::Unknown;
}

Truth truth(bool value) {
    return value ? Truth::True : Truth::False;
}

// A length in CSS pixels, or nothing when the unit is unknown here.
std::optional<double> lengthOf(const Token& token) {
    if (token.is(TokenType::Number) && token.number == 0) {
        return 0.0;
    }
    if (!token.is(TokenType::Dimension)) {
        return std::nullopt;
    }
    const std::string unit = asciiLowered(token.value);
    const double n = token.number;
    if (unit == "px") {
        return n;
    }
    if (unit == "em" || unit == "rem") {
        return n * kFontSize;
    }
    if (unit == "vw") {
        return n * kWidth / 100;
    }
    if (unit == "vh") {
        return n * kHeight / 100;
    }
    if (unit == "vmin") {
        return n * kHeight / 100;
    }
    if (unit == "vmax") {
        return n * kWidth / 100;
    }
    if (unit == "in") {
        return n * 96;
    }
    if (unit == "cm") {
        return n * 96 / 2.54;
    }
    if (unit == "mm") {
        return n * 96 / 25.4;
    }
    if (unit == "q") {
        return n * 96 / 101.6;
    }
    if (unit == "pt") {
        return n * 96 / 72;
    }
    if (unit == "pc") {
        return n * 16;
    }
    return std::nullopt;
}

// A resolution in dots per CSS pixel.
std::optional<double> resolutionOf(const Token& token) {
    if (!token.is(TokenType::Dimension)) {
        return std::nullopt;
    }
    const std::string unit = asciiLowered(token.value);
    if (unit == "dppx" || unit == "x") {
        return token.number;
    }
    if (unit == "dpi") {
        return token.number / 96;
    }
    if (unit == "dpcm") {
        return token.number * 2.54 / 96;
    }
    return std::nullopt;
}

enum class Comparison : std::uint8_t { Less, LessOrEqual, Equal, GreaterOrEqual, Greater };

bool compare(double actual, Comparison comparison, double wanted) {
    constexpr double kEpsilon = 1e-9;
    switch (comparison) {
        case Comparison::Less:
            return actual < wanted - kEpsilon;
        case Comparison::LessOrEqual:
            return actual <= wanted + kEpsilon;
        case Comparison::Equal:
            return actual > wanted - kEpsilon && actual < wanted + kEpsilon;
        case Comparison::GreaterOrEqual:
            return actual >= wanted - kEpsilon;
        case Comparison::Greater:
            return actual > wanted + kEpsilon;
    }
    return false;
}

Comparison flipped(Comparison comparison) {
    switch (comparison) {
        case Comparison::Less:
            return Comparison::Greater;
        case Comparison::LessOrEqual:
            return Comparison::GreaterOrEqual;
        case Comparison::GreaterOrEqual:
            return Comparison::LessOrEqual;
        case Comparison::Greater:
            return Comparison::Less;
        default:
            return comparison;
    }
}

class MediaQueryReader final {
public:
    explicit MediaQueryReader(const ComponentValues& values) : mValues(values) {}

    bool list(ValueRange range) {
        const std::vector<std::uint32_t> items = significantValues(mValues, range);
        if (items.empty()) {
            return true;
        }
        std::size_t start = 0;
        for (std::size_t i = 0; i <= items.size(); ++i) {
            if (i < items.size() && !isToken(items[i], TokenType::Comma)) {
                continue;
            }
            if (query(std::vector<std::uint32_t>(items.begin() + static_cast<long>(start),
                                                 items.begin() + static_cast<long>(i)))) {
                return true;
            }
            start = i + 1;
        }
        return false;
    }

private:
    bool isToken(std::uint32_t index, TokenType type) const {
        return !mValues[index].hasContents() && mValues[index].token.is(type);
    }

    bool isIdent(std::uint32_t index, std::string_view name) const {
        return isToken(index, TokenType::Ident) &&
               equalsIgnoringAsciiCase(mValues[index].token.value, name);
    }

    // One media query; one that does not parse is "not all".
    bool query(const std::vector<std::uint32_t>& items) {
        if (items.empty()) {
            return false;
        }
        std::size_t pos = 0;
        bool negated = false;
        if (isToken(items[0], TokenType::Ident) && !isIdent(items[0], "not") &&
            !isIdent(items[0], "only")) {
            // A media type alone or with "and" conditions.
        } else if (isIdent(items[0], "only") || (isIdent(items[0], "not") && items.size() > 1 &&
                                                 isToken(items[1], TokenType::Ident))) {
            negated = isIdent(items[0], "not");
            pos = 1;
        } else {
            std::size_t end = 0;
            const std::optional<Truth> result = condition(items, 0, end, true);
            return result && end == items.size() && *result == Truth::True;
        }
        if (pos >= items.size() || !isToken(items[pos], TokenType::Ident)) {
            return false;
        }
        const std::string type = asciiLowered(mValues[items[pos]].token.value);
        if (type == "and" || type == "or" || type == "not" || type == "only" || type == "layer") {
            return false;
        }
        Truth result = truth(type == "all" || type == "screen");
        ++pos;
        if (pos < items.size()) {
            if (!isIdent(items[pos], "and")) {
                return false;
            }
            std::size_t end = 0;
            const std::optional<Truth> rest = condition(items, pos + 1, end, false);
            if (!rest || end != items.size()) {
                return false;
            }
            result = both(result, *rest);
        }
        if (negated) {
            result = negate(result);
        }
        return result == Truth::True;
    }

    // <media-condition> (or the form without "or"), from items[pos]; end is set past it.
    std::optional<Truth> condition(const std::vector<std::uint32_t>& items, std::size_t pos,
                                   std::size_t& end, bool allowOr) {
        if (pos >= items.size()) {
            return std::nullopt;
        }
        if (isIdent(items[pos], "not")) {
            if (pos + 1 >= items.size()) {
                return std::nullopt;
            }
            const std::optional<Truth> inner = inParens(items[pos + 1]);
            if (!inner) {
                return std::nullopt;
            }
            end = pos + 2;
            return negate(*inner);
        }
        std::optional<Truth> result = inParens(items[pos]);
        if (!result) {
            return std::nullopt;
        }
        ++pos;
        std::string joiner;
        while (pos < items.size() && (isIdent(items[pos], "and") || isIdent(items[pos], "or"))) {
            const std::string word = asciiLowered(mValues[items[pos]].token.value);
            if ((word == "or" && !allowOr) || (!joiner.empty() && joiner != word) ||
                pos + 1 >= items.size()) {
                return std::nullopt;
            }
            joiner = word;
            const std::optional<Truth> next = inParens(items[pos + 1]);
            if (!next) {
                return std::nullopt;
            }
            result = word == "and" ? both(*result, *next) : either(*result, *next);
            pos += 2;
        }
        end = pos;
        return result;
    }

    // <media-in-parens>: a condition or a feature in parentheses, or general enclosed (which is
    // unknown).
    std::optional<Truth> inParens(std::uint32_t index) {
        const ComponentValue& value = mValues[index];
        if (value.isFunction()) {
            return Truth::Unknown;
        }
        if (!value.isBlock(TokenType::OpenParen)) {
            return std::nullopt;
        }
        if (++mDepth > kMaximumDepth) {
            return std::nullopt;
        }
        const std::vector<std::uint32_t> items =
            significantValues(mValues, contentsOf(mValues, index));
        std::optional<Truth> result;
        std::size_t end = 0;
        if (!items.empty() && (mValues[items[0]].isBlock(TokenType::OpenParen) ||
                               mValues[items[0]].isFunction() || isIdent(items[0], "not"))) {
            result = condition(items, 0, end, true);
            if (result && end != items.size()) {
                result.reset();
            }
        } else {
            result = feature(items);
        }
        --mDepth;
        // Anything else in parentheses is general enclosed: valid, and unknown.
        return result.value_or(Truth::Unknown);
    }

    std::optional<Truth> feature(const std::vector<std::uint32_t>& items) {
        if (items.empty()) {
            return std::nullopt;
        }
        if (items.size() == 1 && isToken(items[0], TokenType::Ident)) {
            return booleanFeature(asciiLowered(mValues[items[0]].token.value));
        }
        if (items.size() >= 3 && isToken(items[0], TokenType::Ident) &&
            isToken(items[1], TokenType::Colon)) {
            return plainFeature(asciiLowered(mValues[items[0]].token.value), items, 2);
        }
        return rangeFeature(items);
    }

    Truth booleanFeature(const std::string& name) {
        if (name == "color" || name == "width" || name == "height" || name == "device-width" ||
            name == "device-height" || name == "aspect-ratio" || name == "orientation" ||
            name == "resolution" || name == "prefers-color-scheme" || name == "hover" ||
            name == "any-hover" || name == "pointer" || name == "any-pointer" || name == "update" ||
            name == "color-gamut" || name == "overflow-block" || name == "overflow-inline" ||
            name == "display-mode" || name == "dynamic-range") {
            return Truth::True;
        }
        if (name == "monochrome" || name == "grid" || name == "color-index" ||
            name == "prefers-reduced-motion" || name == "prefers-contrast" ||
            name == "forced-colors" || name == "prefers-reduced-transparency" ||
            name == "scripting") {
            return Truth::False;
        }
        return Truth::Unknown;
    }

    // Features with keyword values, and the one each has in the window compared with (scripts
    // are never run, so scripting is none).
    static std::optional<std::string_view> keywordFeature(std::string_view name) {
        static constexpr std::pair<std::string_view, std::string_view> kValues[]{
            {"orientation", "landscape"},
            {"prefers-color-scheme", "light"},
            {"prefers-reduced-motion", "no-preference"},
            {"prefers-reduced-transparency", "no-preference"},
            {"prefers-contrast", "no-preference"},
            {"forced-colors", "none"},
            {"hover", "hover"},
            {"any-hover", "hover"},
            {"pointer", "fine"},
            {"any-pointer", "fine"},
            {"scripting", "none"},
            {"update", "fast"},
            {"display-mode", "browser"},
            {"dynamic-range", "standard"},
            {"video-dynamic-range", "standard"},
            {"color-gamut", "srgb"},
            {"overflow-block", "scroll"},
            {"overflow-inline", "scroll"},
        };
        for (const auto& [feature, value] : kValues) {
            if (feature == name) {
                return value;
            }
        }
        return std::nullopt;
    }

    // The actual value of a numeric feature, and whether it is a length.
    struct Numeric {
        double value;
        enum Kind : std::uint8_t { Length, Ratio, Resolution, Integer } kind;
    };

    static std::optional<Numeric> numericFeature(std::string_view name) {
        if (name == "width" || name == "device-width") {
            return Numeric{kWidth, Numeric::Length};
        }
        if (name == "height" || name == "device-height") {
            return Numeric{kHeight, Numeric::Length};
        }
        if (name == "aspect-ratio" || name == "device-aspect-ratio") {
            return Numeric{kWidth / kHeight, Numeric::Ratio};
        }
        if (name == "resolution") {
            return Numeric{1, Numeric::Resolution};
        }
        if (name == "-webkit-device-pixel-ratio") {
            return Numeric{1, Numeric::Integer};
        }
        if (name == "color") {
            return Numeric{8, Numeric::Integer};
        }
        if (name == "monochrome" || name == "color-index" || name == "grid") {
            return Numeric{0, Numeric::Integer};
        }
        return std::nullopt;
    }

    // A value of the feature's kind from items[pos] on (a ratio takes up to three items);
    // advances pos past it.
    std::optional<double> valueOf(Numeric::Kind kind, const std::vector<std::uint32_t>& items,
                                  std::size_t& pos) {
        if (pos >= items.size() || mValues[items[pos]].hasContents()) {
            return std::nullopt;
        }
        const Token& token = mValues[items[pos]].token;
        switch (kind) {
            case Numeric::Length:
                ++pos;
                return lengthOf(token);
            case Numeric::Resolution:
                ++pos;
                return resolutionOf(token);
            case Numeric::Integer:
                ++pos;
                if (token.is(TokenType::Number)) {
                    return token.number;
                }
                return std::nullopt;
            case Numeric::Ratio: {
                if (!token.is(TokenType::Number)) {
                    return std::nullopt;
                }
                ++pos;
                double ratio = token.number;
                if (pos + 1 < items.size() && mValues[items[pos]].token.isDelim('/') &&
                    isToken(items[pos + 1], TokenType::Number)) {
                    const double denominator = mValues[items[pos + 1]].token.number;
                    ratio = denominator == 0 ? 1e300 : ratio / denominator;
                    pos += 2;
                }
                return ratio;
            }
        }
        return std::nullopt;
    }

    std::optional<Truth> plainFeature(const std::string& name,
                                      const std::vector<std::uint32_t>& items, std::size_t pos) {
        if (const auto actual = keywordFeature(name)) {
            if (items.size() != pos + 1 || !isToken(items[pos], TokenType::Ident)) {
                return std::nullopt;
            }
            return truth(asciiLowered(mValues[items[pos]].token.value) == *actual);
        }
        Comparison comparison = Comparison::Equal;
        std::string base = name;
        if (base.starts_with("min-") || base.starts_with("max-")) {
            comparison = base[1] == 'i' ? Comparison::GreaterOrEqual : Comparison::LessOrEqual;
            base.erase(0, 4);
        } else if (base == "-webkit-min-device-pixel-ratio" ||
                   base == "-webkit-max-device-pixel-ratio") {
            comparison = base[9] == 'i' ? Comparison::GreaterOrEqual : Comparison::LessOrEqual;
            base = "-webkit-device-pixel-ratio";
        }
        const std::optional<Numeric> actual = numericFeature(base);
        if (!actual) {
            return Truth::Unknown;
        }
        const std::optional<double> wanted = valueOf(actual->kind, items, pos);
        if (!wanted || pos != items.size()) {
            return std::nullopt;
        }
        return truth(compare(actual->value, comparison, *wanted));
    }

    std::optional<Comparison> comparisonAt(const std::vector<std::uint32_t>& items,
                                           std::size_t& pos) const {
        if (pos >= items.size()) {
            return std::nullopt;
        }
        const Token& token = mValues[items[pos]].token;
        const bool orEqual = pos + 1 < items.size() && mValues[items[pos + 1]].token.isDelim('=');
        if (token.isDelim('=')) {
            ++pos;
            return Comparison::Equal;
        }
        if (!token.isDelim('<') && !token.isDelim('>')) {
            return std::nullopt;
        }
        pos += orEqual ? 2 : 1;
        if (token.isDelim('<')) {
            return orEqual ? Comparison::LessOrEqual : Comparison::Less;
        }
        return orEqual ? Comparison::GreaterOrEqual : Comparison::Greater;
    }

    // "width > 600px", "600px < width" and "400px <= width < 800px".
    std::optional<Truth> rangeFeature(const std::vector<std::uint32_t>& items) {
        std::size_t nameAt = 0;
        while (nameAt < items.size() && !isToken(items[nameAt], TokenType::Ident)) {
            ++nameAt;
        }
        if (nameAt == items.size()) {
            return std::nullopt;
        }
        const std::optional<Numeric> actual =
            numericFeature(asciiLowered(mValues[items[nameAt]].token.value));
        if (!actual) {
            return Truth::Unknown;
        }
        std::size_t pos = 0;
        bool result = true;
        if (nameAt > 0) {
            const std::optional<double> low = valueOf(actual->kind, items, pos);
            const std::optional<Comparison> comparison = comparisonAt(items, pos);
            if (!low || !comparison || pos != nameAt) {
                return std::nullopt;
            }
            result = compare(actual->value, flipped(*comparison), *low);
        }
        pos = nameAt + 1;
        if (pos < items.size()) {
            const std::optional<Comparison> comparison = comparisonAt(items, pos);
            const std::optional<double> high =
                comparison ? valueOf(actual->kind, items, pos) : std::nullopt;
            if (!high || pos != items.size()) {
                return std::nullopt;
            }
            result = result && compare(actual->value, *comparison, *high);
        } else if (nameAt == 0) {
            return std::nullopt;
        }
        return truth(result);
    }

    const ComponentValues& mValues;
    int mDepth = 0;
};

}  // namespace

bool matchesMediaQueryList(const ComponentValues& values, ValueRange range) {
    return MediaQueryReader(values).list(range);
}

bool matchesMediaQueryList(std::string_view text) {
    const ComponentValues values = parseComponentValues(text);
    return matchesMediaQueryList(values, {0, static_cast<std::uint32_t>(values.size())});
}

}  // namespace veltrano::html::css
