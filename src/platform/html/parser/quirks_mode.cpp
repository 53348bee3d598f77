#include "platform/html/parser/quirks_mode.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace veltrano::html::parser {
namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view text, std::string_view lowerCase) {
    return text.size() == lowerCase.size() &&
           std::equal(text.begin(), text.end(), lowerCase.begin(),
                      [](char a, char b) { return lower(a) == b; });
}

bool startsIgnoringCase(std::string_view text, std::string_view lowerCase) {
    return text.size() >= lowerCase.size() &&
           equalsIgnoringCase(text.substr(0, lowerCase.size()), lowerCase);
}

// The public identifiers that start a quirks-mode document, from the HTML Standard's "initial"
// insertion mode, in lower case.
constexpr std::array<std::string_view, 55> kQuirksPublicPrefixes{
    "+//silmaril//dtd html pro v0r11 19970101//",
    "-//as//dtd html 3.0 aswedit + extensions//",
    "-//advasoft ltd//dtd html 3.0 aswedit + extensions//",
    "-//ietf//dtd html 2.0 level 1//",
    "-//ietf//dtd html 2.0 level 2//",
    "-//ietf//dtd html 2.0 strict level 1//",
    "-//ietf//dtd html 2.0 strict level 2//",
    "-//ietf//dtd html 2.0 strict//",
    "-//ietf//dtd html 2.0//",
    "-//ietf//dtd html 2.1e//",
    "-//ietf//dtd html 3.0//",
    "-//ietf//dtd html 3.2 final//",
    "-//ietf//dtd html 3.2//",
    "-//ietf//dtd html 3//",
    "-//ietf//dtd html level 0//",
    "-//ietf//dtd html level 1//",
    "-//ietf//dtd html level 2//",
    "-//ietf//dtd html level 3//",
    "-//ietf//dtd html strict level 0//",
    "-//ietf//dtd html strict level 1//",
    "-//ietf//dtd html strict level 2//",
    "-//ietf//dtd html strict level 3//",
    "-//ietf//dtd html strict//",
    "-//ietf//dtd html//",
    "-//metrius//dtd metrius presentational//",
    "-//microsoft//dtd internet explorer 2.0 html strict//",
    "-//microsoft//dtd internet explorer 2.0 html//",
    "-//microsoft//dtd internet explorer 2.0 tables//",
    "-//microsoft//dtd internet explorer 3.0 html strict//",
    "-//microsoft//dtd internet explorer 3.0 html//",
    "-//microsoft//dtd internet explorer 3.0 tables//",
    "-//netscape comm. corp.//dtd html//",
    "-//netscape comm. corp.//dtd strict html//",
    "-//o'reilly and associates//dtd html 2.0//",
    "-//o'reilly and associates//dtd html extended 1.0//",
    "-//o'reilly and associates//dtd html extended relaxed 1.0//",
    "-//sq//dtd html 2.0 hotmetal + extensions//",
    "-//softquad software//dtd hotmetal pro 6.0::19990601::extensions to html 4.0//",
    "-//softquad//dtd hotmetal pro 4.0::19970916::extensions to html 4.0//",
    "-//spyglass//dtd html 2.0 extended//",
    "-//sun microsystems corp.//dtd hotjava html//",
    "-//sun microsystems corp.//dtd hotjava strict html//",
    "-//w3c//dtd html 3 1995-03-24//",
    "-//w3c//dtd html 3.2 draft//",
    "-//w3c//dtd html 3.2 final//",
    "-//w3c//dtd html 3.2//",
    "-//w3c//dtd html 3.2s draft//",
    "-//w3c//dtd html 4.0 frameset//",
    "-//w3c//dtd html 4.0 transitional//",
    "-//w3c//dtd html experimental 19960712//",
    "-//w3c//dtd html experimental 970421//",
    "-//w3c//dtd w3 html//",
    "-//w3o//dtd w3 html 3.0//",
    "-//webtechs//dtd mozilla html 2.0//",
    "-//webtechs//dtd mozilla html//",
};

constexpr std::string_view kHtml401Frameset = "-//w3c//dtd html 4.01 frameset//";
constexpr std::string_view kHtml401Transitional = "-//w3c//dtd html 4.01 transitional//";

}  // namespace

DocumentMode documentModeFor(const Doctype& doctype, bool forceQuirks) {
    const std::string_view publicId = doctype.publicId ? *doctype.publicId : std::string_view();
    const std::string_view systemId = doctype.systemId ? *doctype.systemId : std::string_view();
    const bool html401 = startsIgnoringCase(publicId, kHtml401Frameset) ||
                         startsIgnoringCase(publicId, kHtml401Transitional);
    if (forceQuirks || doctype.name != "html" ||
        equalsIgnoringCase(publicId, "-//w3o//dtd w3 html strict 3.0//en//") ||
        equalsIgnoringCase(publicId, "-/w3c/dtd html 4.0 transitional/en") ||
        equalsIgnoringCase(publicId, "html") ||
        equalsIgnoringCase(systemId,
                           "http://www.ibm.com/data/dtd/v11/ibmxhtml1-transitional.dtd") ||
        std::any_of(
            kQuirksPublicPrefixes.begin(), kQuirksPublicPrefixes.end(),
            [&](std::string_view prefix) { return startsIgnoringCase(publicId, prefix); }) ||
        (!doctype.systemId && html401)) {
        return DocumentMode::Quirks;
    }
    if (startsIgnoringCase(publicId, "-//w3c//dtd xhtml 1.0 frameset//") ||
        startsIgnoringCase(publicId, "-//w3c//dtd xhtml 1.0 transitional//") ||
        (doctype.systemId && html401)) {
        return DocumentMode::LimitedQuirks;
    }
    return DocumentMode::NoQuirks;
}

}  // namespace veltrano::html::parser
