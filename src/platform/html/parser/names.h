#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/html/parser/known_names.h"

namespace veltrano::html::parser {

// An element's local name or an attribute's name as a number: the KnownName for the names
// the engine knows, a number of the document's NameTable for any other.
using NameId = std::uint16_t;

constexpr NameId nameId(KnownName name) {
    return static_cast<NameId>(name);
}

enum class Namespace : std::uint8_t { Html, Svg, MathMl };

// The namespace of an attribute: none for nearly all, the others only on foreign elements.
enum class AttributeNamespace : std::uint8_t { None, XLink, Xml, Xmlns };

// The names of one document. Numbers run out at 65,535 distinct names; every further name
// shares one number, kOverflowNameId, whose text is "" (a document with that many different tag
// and attribute names is an attack, not a page, and what it names no rule looks at).
inline constexpr NameId kOverflowNameId = 0xFFFF;

class NameTable final {
public:
    NameId intern(std::string_view name);
    std::string_view text(NameId id) const;

private:
    // Lets lookups take a string_view, so that finding a name allocates nothing.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const {
            return std::hash<std::string_view>{}(name);
        }
    };

    std::unordered_map<std::string, NameId, NameHash, std::equal_to<>> mNumbers;
    std::vector<std::string> mTexts;  // of the numbers from kKnownNameCount on
};

}  // namespace veltrano::html::parser
