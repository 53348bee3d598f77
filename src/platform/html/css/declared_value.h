#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/html/css/css_parser.h"

namespace veltrano::html::css {

// The properties rendered text depends on (white-space is a shorthand of white-space-collapse
// and text-wrap-mode, of which only the first changes text).
enum class Property : std::uint8_t {
    Display,
    Visibility,
    WhiteSpaceCollapse,
    TextTransform,
    Float,
    Position,
    Content,
};
inline constexpr std::size_t kPropertyCount = 7;

enum class WideKeyword : std::uint8_t { None, Inherit, Initial, Unset, Revert, RevertLayer };

enum class ContentKeyword : std::uint8_t { Normal, None, Items };

// A piece of generated content: text, an attribute's value, or something that shows as a
// character which is not white space (a counter, a quote, an image).
struct ContentItem {
    enum class Kind : std::uint8_t { Text, Attribute, Symbol };
    Kind kind = Kind::Text;
    std::string text;  // Text: the text; Attribute: the attribute's name in lower case
};

using GeneratedContent = std::vector<ContentItem>;

// A valid declared value of one of those properties.
struct DeclaredValue {
    Property property = Property::Display;
    WideKeyword wide = WideKeyword::None;
    bool important = false;
    // Without a wide keyword: the Display, WhiteSpace, TextTransform or ContentKeyword value,
    // or for visibility 1 when visible, for float and position 1 when out of flow.
    std::uint8_t keyword = 0;
    std::uint32_t content = 0;  // Content with items: their index in the generated contents
};

// Appends the values a declaration gives those properties: none for any other property or an
// invalid value, one for a longhand, all it sets for white-space and all. The items of a content
// value go to contents. Values with var() are taken as the guaranteed-invalid value they become
// without custom properties (unset).
void addDeclaredValues(const Declaration& declaration, const ComponentValues& values,
                       std::vector<DeclaredValue>& out, std::vector<GeneratedContent>& contents);

}  // namespace veltrano::html::css
