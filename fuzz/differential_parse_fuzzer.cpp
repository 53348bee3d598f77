// Feeds the same text to our HTML engine and to gumbo and compares the two trees, where gumbo
// is known to follow the HTML Standard: inputs using what changed after gumbo's edition, or
// nesting past the depth where our tree (like Chromium's) stops nesting, are left out.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <gumbo.h>

#include "gumbo_tree_dump.h"
#include "platform/html/parser/parsed_document.h"
#include "platform/html/parser/tree_dump.h"
#include "platform/html/utf8_decoder.h"

namespace {

bool containsIgnoringCase(std::string_view text, std::string_view word) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < word.size() && lower(text[i + k]) == word[k]) {
            ++k;
        }
        if (k == word.size()) {
            return true;
        }
    }
    return false;
}

// What gumbo 0.10 does not do as the HTML Standard now says.
bool gumboDiffersByDesign(std::string_view text) {
    static constexpr std::string_view kNewerThanGumbo[] = {
        "<select",    "</select",  "<search",    "</search", "<noscript",
        "</noscript", "<menuitem", "<isindex",   "<keygen",  "<option",
        "</option",   "<optgroup", "</optgroup", "<hr",      "selectedcontent"};
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
    std::size_t tags = 0;
    for (const char c : text) {
        tags += c == '<' ? 1 : 0;
    }
    return tags > 400;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!veltrano::html::isValidUtf8(text) || text.find('\0') != std::string::npos ||
        gumboDiffersByDesign(text)) {
        return 0;
    }
    const std::string ours =
        veltrano::html::parser::dumpTree(veltrano::html::parser::parseHtml(text)->tree);
    const std::string theirs = veltrano::fuzz::gumboTreeDump(text);
    if (ours != theirs) {
        std::fprintf(stderr, "input:\n%s\n--- ours:\n%s--- gumbo:\n%s", text.c_str(), ours.c_str(),
                     theirs.c_str());
        std::abort();
    }
    return 0;
}
