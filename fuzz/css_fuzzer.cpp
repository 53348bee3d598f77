// The CSS parser, the selector grammar behind the rule set, and the style attribute. The text
// is decoded first, as a page's style text always is. The component value lists must nest
// properly (every range lies inside its parent), token values stay valid UTF-8, and the same
// text imported into itself stops at the import limits.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "platform/html/css/css_parser.h"
#include "platform/html/css/media_query.h"
#include "platform/html/css/rule_set.h"
#include "platform/html/style_attribute.h"
#include "platform/html/utf8_decoder.h"

using veltrano::fuzz::require;
namespace html = veltrano::html;
namespace css = veltrano::html::css;

namespace {

void checkRange(const css::ComponentValues& values, css::ValueRange range) {
    require(range.begin <= range.end && range.end <= values.size(), "a range lies in its list");
    std::uint32_t at = range.begin;
    while (at < range.end) {
        const css::ComponentValue& value = values[at];
        require(html::isValidUtf8(value.token.value), "token values are valid UTF-8");
        require(value.end > at && value.end <= range.end, "a value lies inside its parent");
        require(value.hasContents() || value.end == at + 1, "a plain token has no contents");
        at = value.end;
    }
}

void checkValues(const css::ComponentValues& values) {
    checkRange(values, {0, static_cast<std::uint32_t>(values.size())});
    for (std::uint32_t i = 0; i < values.size(); ++i) {
        if (values[i].hasContents()) {
            checkRange(values, css::contentsOf(values, i));
        }
    }
}

void checkDeclarations(const css::ComponentValues& values,
                       const std::vector<css::Declaration>& declarations) {
    for (const css::Declaration& declaration : declarations) {
        require(html::isValidUtf8(declaration.name), "declaration names are valid UTF-8");
        checkRange(values, declaration.value);
    }
}

void checkRules(const css::ComponentValues& values, const std::vector<css::Rule>& rules) {
    for (const css::Rule& rule : rules) {
        checkRange(values, rule.prelude);
        checkDeclarations(values, rule.declarations);
        checkRules(values, rule.rules);
    }
}

// Every @import finds the sheet itself again, so nesting goes as deep as the limits allow.
void compileImportingItself(const std::string& text) {
    css::RuleSet rules;
    const css::ImportResolver resolveToItself =
        [&text](std::string_view, std::string_view) -> std::optional<css::StyleSheetSource> {
        return css::StyleSheetSource{text, "page.css"};
    };
    rules.addStyleSheet({text, "page.html"}, resolveToItself);
    rules.finish();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text;
    html::decodeUtf8(veltrano::fuzz::bytesOf(data, size), text);

    const css::StyleSheetSyntax sheet = css::parseStyleSheet(text);
    checkValues(sheet.values);
    checkRules(sheet.values, sheet.rules);

    const css::DeclarationListSyntax list = css::parseDeclarationList(text);
    checkValues(list.values);
    checkDeclarations(list.values, list.declarations);

    checkValues(css::parseComponentValues(text));
    css::matchesMediaQueryList(text);
    compileImportingItself(text);

    html::ElementStyle style;
    html::ElementStyle again;
    const bool outOfFlow = html::applyStyleAttribute(text, html::InheritedStyle{}, style);
    require(html::applyStyleAttribute(text, html::InheritedStyle{}, again) == outOfFlow &&
                again.display == style.display && again.inherited == style.inherited,
            "a style attribute gives the same style every time");
    return 0;
}
