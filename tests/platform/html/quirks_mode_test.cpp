// The document mode a doctype sets. The html5lib cases see it only where it changes a tree
// (a table does not close a p in quirks mode), so each rule and both ends of the long list of
// public identifiers are checked here.

#include "platform/html/parser/quirks_mode.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace veltrano::html::parser {
namespace {

struct DoctypeCase {
    const char* name;
    const char* doctypeName;
    std::optional<std::string> publicId;
    std::optional<std::string> systemId;
    bool forceQuirks;
    DocumentMode mode;
};

void PrintTo(const DoctypeCase& row, std::ostream* out) {
    *out << row.name;
}

class DoctypeMode : public testing::TestWithParam<DoctypeCase> {};

TEST_P(DoctypeMode, FollowsTheInitialInsertionMode) {
    const DoctypeCase& row = GetParam();
    const Doctype doctype{row.doctypeName, row.publicId, row.systemId};
    EXPECT_EQ(documentModeFor(doctype, row.forceQuirks), row.mode);
}

constexpr auto kNo = DocumentMode::NoQuirks;
constexpr auto kLimited = DocumentMode::LimitedQuirks;
constexpr auto kQuirks = DocumentMode::Quirks;
const std::optional<std::string> kMissing;

INSTANTIATE_TEST_SUITE_P(
    TreeBuilder, DoctypeMode,
    testing::Values(
        DoctypeCase{"Html5", "html", kMissing, kMissing, false, kNo},
        DoctypeCase{"ForceQuirks", "html", kMissing, kMissing, true, kQuirks},
        DoctypeCase{"OtherName", "svg", kMissing, kMissing, false, kQuirks},
        DoctypeCase{"EmptyPublicId", "html", "", "", false, kNo},
        DoctypeCase{"PublicIdHtmlInAnyCase", "html", "hTmL", kMissing, false, kQuirks},
        DoctypeCase{"W3oStrictExactly", "html", "-//W3O//DTD W3 HTML Strict 3.0//EN//", kMissing,
                    false, kQuirks},
        DoctypeCase{"IbmSystemId", "html", kMissing,
                    "http://www.ibm.com/data/dtd/v11/IBMXHTML1-transitional.dtd", false, kQuirks},
        DoctypeCase{"FirstQuirksPrefix", "html", "+//Silmaril//dtd html Pro v0r11 19970101//x",
                    kMissing, false, kQuirks},
        DoctypeCase{"LastQuirksPrefix", "html", "-//WebTechs//DTD Mozilla HTML//EN", kMissing,
                    false, kQuirks},
        DoctypeCase{"QuirksPrefixInOtherCase", "html", "-//w3c//dtd html 3.2 final//en", kMissing,
                    false, kQuirks},
        DoctypeCase{"PrefixNotAtTheStart", "html", " -//W3C//DTD HTML 3.2//EN", kMissing, false,
                    kNo},
        DoctypeCase{"Html401TransitionalWithoutSystemId", "html",
                    "-//W3C//DTD HTML 4.01 Transitional//EN", kMissing, false, kQuirks},
        DoctypeCase{"Html401FramesetWithSystemId", "html", "-//W3C//DTD HTML 4.01 Frameset//EN",
                    "http://www.w3.org/TR/html4/frameset.dtd", false, kLimited},
        DoctypeCase{"Xhtml10Transitional", "html", "-//W3C//DTD XHTML 1.0 Transitional//EN",
                    kMissing, false, kLimited},
        DoctypeCase{"Xhtml10Strict", "html", "-//W3C//DTD XHTML 1.0 Strict//EN", kMissing, false,
                    kNo},
        DoctypeCase{"Html401Strict", "html", "-//W3C//DTD HTML 4.01//EN",
                    "http://www.w3.org/TR/html4/strict.dtd", false, kNo}),
    [](const testing::TestParamInfo<DoctypeCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace veltrano::html::parser
