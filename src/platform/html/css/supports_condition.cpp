#include "platform/html/css/supports_condition.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/html/ascii_case.h"
#include "platform/html/css/declared_value.h"
#include "platform/html/css/selector_parser.h"

namespace veltrano::html::css {
namespace {

enum class Truth : std::uint8_t { False, True, Unknown };

constexpr int kMaximumDepth = 16;

class SupportsReader final {
public:
    explicit SupportsReader(const ComponentValues& values) : mValues(values) {}

    // <supports-condition> over the significant items; nothing when it does not parse.
    std::optional<Truth> condition(const std::vector<std::uint32_t>& items) {
        if (items.empty() || ++mDepth > kMaximumDepth) {
            return std::nullopt;
        }
        std::optional<Truth> result;
        if (isIdent(items[0], "not")) {
            if (items.size() == 2) {
                if (const auto inner = inParens(items[1])) {
                    result = *inner == Truth::Unknown
                                 ? Truth::Unknown
                                 : (*inner == Truth::True ? Truth::False : Truth::True);
                }
            }
        } else {
            result = inParens(items[0]);
            std::string joiner;
            for (std::size_t i = 1; result && i < items.size(); i += 2) {
                const bool isAnd = isIdent(items[i], "and");
                if ((!isAnd && !isIdent(items[i], "or")) || i + 1 >= items.size() ||
                    (!joiner.empty() && joiner != (isAnd ? "and" : "or"))) {
                    result.reset();
                    break;
                }
                joiner = isAnd ? "and" : "or";
                const std::optional<Truth> next = inParens(items[i + 1]);
                if (!next) {
                    result.reset();
                    break;
                }
                result = isAnd ? both(*result, *next) : either(*result, *next);
            }
        }
        --mDepth;
        return result;
    }

    std::optional<Truth> declarationOrCondition(ValueRange range) {
        const std::vector<std::uint32_t> items = significant(range);
        if (items.size() >= 2 && isDeclarationStart(items)) {
            return declarationIsRead(items, range) ? Truth::True : Truth::Unknown;
        }
        return condition(items);
    }

    std::vector<std::uint32_t> significant(ValueRange range) const {
        return significantValues(mValues, range);
    }

private:
    static Truth both(Truth a, Truth b) {
        if (a == Truth::False || b == Truth::False) {
            return Truth::False;
        }
        return a == Truth::True && b == Truth::True ? Truth::True : Truth::Unknown;
    }

    static Truth either(Truth a, Truth b) {
        if (a == Truth::True || b == Truth::True) {
            return Truth::True;
        }
        return a == Truth::False && b == Truth::False ? Truth::False : Truth::Unknown;
    }

    bool isIdent(std::uint32_t index, std::string_view word) const {
        return !mValues[index].hasContents() && mValues[index].token.is(TokenType::Ident) &&
               equalsIgnoringAsciiCase(mValues[index].token.value, word);
    }

    std::optional<Truth> inParens(std::uint32_t index) {
        const ComponentValue& value = mValues[index];
        if (value.isFunction()) {
            if (equalsIgnoringAsciiCase(value.token.value, "selector")) {
                return selectorParses(contentsOf(mValues, index)) ? Truth::True : Truth::Unknown;
            }
            return Truth::Unknown;
        }
        if (!value.isBlock(TokenType::OpenParen)) {
            return std::nullopt;
        }
        return declarationOrCondition(contentsOf(mValues, index)).value_or(Truth::Unknown);
    }

    bool isDeclarationStart(const std::vector<std::uint32_t>& items) const {
        return !mValues[items[0]].hasContents() && mValues[items[0]].token.is(TokenType::Ident) &&
               !mValues[items[1]].hasContents() && mValues[items[1]].token.is(TokenType::Colon);
    }

    bool declarationIsRead(const std::vector<std::uint32_t>& items, ValueRange inside) const {
        Declaration declaration;
        declaration.name = mValues[items[0]].token.value;
        declaration.value = {mValues[items[1]].end, inside.end};
        std::vector<DeclaredValue> out;
        std::vector<GeneratedContent> contents;
        addDeclaredValues(declaration, mValues, out, contents);
        return !out.empty() && out[0].wide == WideKeyword::None;
    }

    bool selectorParses(ValueRange inside) const {
        SelectorSet set;
        const NamespaceRules namespaces;
        return SelectorParser(set, mValues, namespaces, nullptr)
            .parseSelectorList(inside)
            .has_value();
    }

    const ComponentValues& mValues;
    int mDepth = 0;
};

}  // namespace

bool supportsConditionHolds(const ComponentValues& values, ValueRange range) {
    SupportsReader reader(values);
    return reader.condition(reader.significant(range)) == Truth::True;
}

bool importSupportsConditionHolds(const ComponentValues& values, ValueRange range) {
    return SupportsReader(values).declarationOrCondition(range) == Truth::True;
}

}  // namespace veltrano::html::css
