#include "gumbo_differences.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gumbo.h>

namespace veltrano::fuzz {
namespace {

std::size_t findIgnoringCase(std::string_view text, std::string_view word, std::size_t from = 0) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (std::size_t i = from; i + word.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < word.size() && lower(text[i + k]) == word[k]) {
            ++k;
        }
        if (k == word.size()) {
            return i;
        }
    }
    return std::string_view::npos;
}

bool containsIgnoringCase(std::string_view text, std::string_view word) {
    return findIgnoringCase(text, word) != std::string_view::npos;
}

// Whether a tag name that starts with word ends right after it ("<th>" but not "<thead>" or
// "<th<").
bool tagNameEndsAt(std::string_view text, std::size_t at) {
    if (at >= text.size()) {
        return true;
    }
    const char c = text[at];
    return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == '/' || c == '>';
}

// gumbo turns control characters and noncharacters into U+FFFD; the HTML Standard (and
// browsers) keep them, reporting only a parse error.
bool hasCharacterGumboReplaces(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool c0 = byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\f' && byte != '\r';
        const bool c1 =
            byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        // U+FDD0..U+FDEF are EF B7 90..AF; U+FFFE/U+FFFF and their kin in the other planes end
        // in BF BE or BF BF after a byte whose low four bits are all set.
        const bool nonCharacter = (byte == 0xEF && i + 2 < text.size() &&
                                   static_cast<unsigned char>(text[i + 1]) == 0xB7 &&
                                   static_cast<unsigned char>(text[i + 2]) >= 0x90 &&
                                   static_cast<unsigned char>(text[i + 2]) <= 0xAF) ||
                                  (byte == 0xBF && i >= 1 && i + 1 < text.size() &&
                                   (static_cast<unsigned char>(text[i - 1]) & 0x0F) == 0x0F &&
                                   static_cast<unsigned char>(text[i + 1]) >= 0xBE);
        if (c0 || byte == 0x7F || c1 || nonCharacter) {
            return true;
        }
    }
    return false;
}

// What gumbo 0.10 does not do as the HTML Standard now says.

// Tag-like runs "<name attr attr=value ...>" in which one attribute name comes twice: after the
// dropped duplicate gumbo glues the next attribute's name onto the dropped one's. Rough (it also
// looks inside comments and raw text), which only leaves out a few more inputs.
bool hasDuplicateAttribute(std::string_view text) {
    const auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
    };
    for (std::size_t at = text.find('<'); at != std::string_view::npos;
         at = text.find('<', at + 1)) {
        std::size_t i = at + 1;
        if (i >= text.size() || !std::isalpha(static_cast<unsigned char>(text[i]))) {
            continue;
        }
        while (i < text.size() && !isSpace(text[i]) && text[i] != '/' && text[i] != '>') {
            ++i;
        }
        std::set<std::string> names;
        while (i < text.size() && text[i] != '>') {
            if (isSpace(text[i]) || text[i] == '/') {
                ++i;
                continue;
            }
            std::string name(
                1, static_cast<char>(std::tolower(static_cast<unsigned char>(text[i++]))));
            while (i < text.size() && !isSpace(text[i]) && text[i] != '/' && text[i] != '>' &&
                   text[i] != '=') {
                name += static_cast<char>(std::tolower(static_cast<unsigned char>(text[i++])));
            }
            if (!names.insert(name).second) {
                return true;
            }
            while (i < text.size() && isSpace(text[i])) {
                ++i;
            }
            if (i < text.size() && text[i] == '=') {
                ++i;
                while (i < text.size() && isSpace(text[i])) {
                    ++i;
                }
                if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
                    const std::size_t close = text.find(text[i], i + 1);
                    i = close == std::string_view::npos ? text.size() : close + 1;
                } else {
                    while (i < text.size() && !isSpace(text[i]) && text[i] != '>') {
                        ++i;
                    }
                }
            }
        }
    }
    return false;
}

// "&#" references beyond U+10FFFF: gumbo lets the number overflow and emits a stray byte instead
// of U+FFFD.
bool hasOutOfRangeNumericReference(std::string_view text) {
    for (std::size_t at = text.find("&#"); at != std::string_view::npos;
         at = text.find("&#", at + 2)) {
        std::size_t i = at + 2;
        const bool hex = i < text.size() && (text[i] == 'x' || text[i] == 'X');
        i += hex ? 1 : 0;
        std::uint64_t value = 0;
        while (i < text.size() && std::isxdigit(static_cast<unsigned char>(text[i])) &&
               (hex || std::isdigit(static_cast<unsigned char>(text[i])))) {
            const int digit = std::isdigit(static_cast<unsigned char>(text[i]))
                                  ? text[i] - '0'
                                  : std::tolower(static_cast<unsigned char>(text[i])) - 'a' + 10;
            value = std::min<std::uint64_t>(value * (hex ? 16 : 10) + digit, 0x110000);
            ++i;
        }
        if (value > 0x10FFFF) {
            return true;
        }
    }
    return false;
}

// Anything before the doctype: gumbo keeps the doctype apart from the document's children, so
// its dump cannot show a comment before it.
bool hasMarkupBeforeDoctype(std::string_view text) {
    const std::size_t doctype = findIgnoringCase(text, "<!doctype");
    return doctype != std::string_view::npos &&
           text.substr(0, doctype).find('<') != std::string_view::npos;
}

// A tag as the tokenizer would roughly see it: "<" or "</", a name up to white space, "/" or
// ">", the rest up to the next ">" (quotes not followed).
struct RoughTag {
    std::size_t at = 0;
    bool end = false;
    std::string name;  // lower case
};

std::vector<RoughTag> roughTags(std::string_view text) {
    std::vector<RoughTag> tags;
    for (std::size_t at = text.find('<'); at != std::string_view::npos;
         at = text.find('<', at + 1)) {
        RoughTag tag;
        tag.at = at;
        tag.end = at + 1 < text.size() && text[at + 1] == '/';
        std::size_t i = at + (tag.end ? 2 : 1);
        if (i >= text.size() || !std::isalpha(static_cast<unsigned char>(text[i]))) {
            continue;
        }
        for (; !tagNameEndsAt(text, i); ++i) {
            tag.name += static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        }
        tags.push_back(std::move(tag));
        at = std::min(text.find('>', i), text.size() - 1);
    }
    return tags;
}

bool isFormatting(std::string_view name) {
    static constexpr std::string_view kFormatting[] = {"a",      "b",      "big",  "code", "em",
                                                       "font",   "i",      "nobr", "s",    "small",
                                                       "strike", "strong", "tt",   "u"};
    return std::find(std::begin(kFormatting), std::end(kFormatting), name) != std::end(kFormatting);
}

// Formatting elements opened in a table (or a template's table part) outside its cells: gumbo
// takes text in the "in table" mode for table text whatever the current node is, so white space
// there never rebuilds the formatting elements a foster-parented element closed (browsers and
// the standard do).
bool hasFormattingOutsideCells(const std::vector<RoughTag>& tags) {
    static constexpr std::string_view kTableParts[] = {"table", "template", "tbody",
                                                       "thead", "tfoot",    "tr"};
    bool inTable = false;
    bool inCell = false;
    for (const RoughTag& tag : tags) {
        const bool cell = tag.name == "td" || tag.name == "th" || tag.name == "caption";
        if (std::find(std::begin(kTableParts), std::end(kTableParts), tag.name) !=
            std::end(kTableParts)) {
            inTable = true;
            inCell = false;
        } else if (cell) {
            inCell = !tag.end;
        } else if (inTable && !inCell && !tag.end && isFormatting(tag.name)) {
            return true;
        }
    }
    return false;
}

// The adoption agency's limits and the Noah's Ark clause: gumbo's edition neither drops
// formatting elements met after the third step up from the furthest block, nor leaves the last
// clone open after the eighth round, nor forgets the earliest of four identical formatting
// elements as the standard says. Left out: a formatting element closed (or, for "a" and "nobr",
// opened again) when four or more elements may have opened since it did, and four of one name
// open at once. Rough, counting start tags less end tags.
bool mayReachAdoptionLimits(const std::vector<RoughTag>& tags) {
    std::map<std::string, std::vector<long>> openAtDepth;
    long depth = 0;
    for (const RoughTag& tag : tags) {
        if (isFormatting(tag.name)) {
            std::vector<long>& open = openAtDepth[tag.name];
            const bool runsAgency = tag.end || tag.name == "a" || tag.name == "nobr";
            if (runsAgency && !open.empty() && depth - open.back() >= 4) {
                return true;
            }
            if (tag.end) {
                if (!open.empty()) {
                    open.pop_back();
                }
            } else {
                open.push_back(depth + 1);
                if (open.size() >= 4) {
                    return true;
                }
            }
        }
        depth += tag.end ? -1 : 1;
    }
    return false;
}

// HTML end tags inside the elements of foreign content that bound a scope (mi, mo, mn, ms,
// mtext, annotation-xml, foreignObject, desc, title): gumbo's scope checks do not stop there.
bool hasEndTagInsideForeignScopeBoundary(const std::vector<RoughTag>& tags) {
    static constexpr std::string_view kBoundaries[] = {
        "mi", "mo", "mn", "ms", "mtext", "annotation-xml", "foreignobject", "desc", "title"};
    bool foreign = false;
    bool boundary = false;
    for (const RoughTag& tag : tags) {
        foreign = foreign || tag.name == "svg" || tag.name == "math";
        if (foreign && !tag.end &&
            std::find(std::begin(kBoundaries), std::end(kBoundaries), tag.name) !=
                std::end(kBoundaries)) {
            boundary = true;
        } else if (boundary && tag.end) {
            return true;
        }
    }
    return false;
}

// An end tag in foreign content with white space or "/" after its name: gumbo does not match
// it with the open foreign element, which the standard does.
bool hasSpacedEndTagInForeignContent(std::string_view text) {
    if (!containsIgnoringCase(text, "<svg") && !containsIgnoringCase(text, "<math")) {
        return false;
    }
    for (std::size_t at = text.find("</"); at != std::string_view::npos;
         at = text.find("</", at + 2)) {
        std::size_t i = at + 2;
        while (i < text.size() && text[i] != '>' && text[i] != '/' && text[i] != ' ' &&
               text[i] != '\t' && text[i] != '\n' && text[i] != '\f' && text[i] != '\r') {
            ++i;
        }
        if (i > at + 2 && i < text.size() && text[i] != '>') {
            return true;
        }
    }
    return false;
}

// Names of the HTML table parts (and the others the insertion mode is reset by) on foreign
// elements: gumbo's reset takes "svg tbody" for a tbody, the standard only HTML elements.
bool hasTablePartNameInForeignContent(std::string_view text) {
    static constexpr std::string_view kResetNames[] = {
        "<td",       "<th",   "<tr",   "<tbody",    "<thead", "<tfoot",    "<caption",
        "<colgroup", "<head", "<body", "<frameset", "<html",  "<template", "<select"};
    const std::size_t foreign =
        std::min(findIgnoringCase(text, "<svg"), findIgnoringCase(text, "<math"));
    if (foreign == std::string_view::npos) {
        return false;
    }
    for (const std::string_view name : kResetNames) {
        for (std::size_t at = findIgnoringCase(text, name, foreign); at != std::string_view::npos;
             at = findIgnoringCase(text, name, at + 1)) {
            if (tagNameEndsAt(text, at + name.size())) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

bool gumboDiffersByDesign(std::string_view text) {
    const std::vector<RoughTag> tags = roughTags(text);
    if (hasCharacterGumboReplaces(text) || hasDuplicateAttribute(text) ||
        hasOutOfRangeNumericReference(text) || hasMarkupBeforeDoctype(text) ||
        hasFormattingOutsideCells(tags) || mayReachAdoptionLimits(tags) ||
        hasEndTagInsideForeignScopeBoundary(tags) || hasSpacedEndTagInForeignContent(text) ||
        hasTablePartNameInForeignContent(text)) {
        return true;
    }
    // A second "html" start tag before the head: gumbo keeps white space the "before head"
    // mode drops.
    const std::size_t html = findIgnoringCase(text, "<html");
    if (html != std::string_view::npos &&
        findIgnoringCase(text, "<html", html + 1) != std::string_view::npos) {
        return true;
    }
    // Text just before "</form>" (even a lone "<" or ">"): gumbo closes the form before it
    // inserts the text.
    if (containsIgnoringCase(text, "</form")) {
        return true;
    }
    // "</>" is dropped; gumbo glues it onto the name of the next tag.
    if (text.find("</>") != std::string_view::npos) {
        return true;
    }
    // Its quirks-mode lists are older than the standard's (a public or system identifier is
    // where they differ).
    const std::size_t doctype = findIgnoringCase(text, "<!doctype");
    if (doctype != std::string_view::npos) {
        const std::string_view rest = text.substr(doctype, text.find('>', doctype) - doctype);
        if (containsIgnoringCase(rest, "public") || containsIgnoringCase(rest, "system")) {
            return true;
        }
    }
    // A marker left by "marquee", "object" or "applet" that a table's end popped stays in the
    // list of active formatting elements; gumbo drops it.
    if (containsIgnoringCase(text, "<table") &&
        (containsIgnoringCase(text, "<marquee") || containsIgnoringCase(text, "<object") ||
         containsIgnoringCase(text, "<applet"))) {
        return true;
    }
    static constexpr std::string_view kNewerThanGumbo[] = {
        "<select",    "</select", "<search",         "</search", "<noscript", "</noscript",
        "<menuitem",  "<isindex", "<keygen",         "<option",  "</option",  "<optgroup",
        "</optgroup", "<hr",      "selectedcontent", "<dialog",  "xml:base"};
    // "</p>" and "</br>" in foreign content leave it (a change after gumbo's edition).
    if ((containsIgnoringCase(text, "<svg") || containsIgnoringCase(text, "<math")) &&
        (containsIgnoringCase(text, "</p") || containsIgnoringCase(text, "</br"))) {
        return true;
    }
    for (const std::string_view word : kNewerThanGumbo) {
        if (containsIgnoringCase(text, word)) {
            return true;
        }
    }
    // gumbo takes every tag name it does not know for one and the same: "</x>" closes "<y>".
    for (std::size_t at = text.find("</"); at != std::string_view::npos;
         at = text.find("</", at + 2)) {
        std::size_t end = at + 2;
        while (end < text.size() && text[end] != '>' && text[end] != '/' && text[end] != ' ' &&
               text[end] != '\t' && text[end] != '\n' && text[end] != '\f' && text[end] != '\r') {
            ++end;
        }
        const std::string_view name = text.substr(at + 2, end - at - 2);
        if (!name.empty() &&
            gumbo_tagn_enum(name.data(), static_cast<unsigned>(name.size())) == GUMBO_TAG_UNKNOWN) {
            return true;
        }
    }
    // Our tree stops nesting past 512 open elements, as Chromium's does.
    return tags.size() > 400;
}

}  // namespace veltrano::fuzz
