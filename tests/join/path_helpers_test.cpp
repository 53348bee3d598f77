#include "join/path_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace veltrano {
namespace {

struct NormalizeCase {
    const char* name;
    char separator;
    std::string_view path;
    std::string_view normalized;
};

class NormalizePathTest : public testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizePathTest, CollapsesSeparators) {
    const NormalizeCase& c = GetParam();
    EXPECT_EQ(NormalizePath(c.path, c.separator), c.normalized);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, NormalizePathTest,
    testing::Values(
        NormalizeCase{"BackslashEmpty", '\\', "", ""},
        NormalizeCase{"BackslashPlainPathKept", '\\', R"(C:\out\joined.html)",
                      R"(C:\out\joined.html)"},
        NormalizeCase{"BackslashDoubledBecomesOne", '\\', R"(C:\a\\b)", R"(C:\a\b)"},
        NormalizeCase{"BackslashTripledBecomesTwo", '\\', R"(C:\a\\\b)", R"(C:\a\\b)"},
        NormalizeCase{"BackslashQuadrupledBecomesTwo", '\\', R"(C:\a\\\\b)", R"(C:\a\\b)"},
        NormalizeCase{"BackslashFolderEndingWithSeparator", '\\', R"(C:\\joined.html)",
                      R"(C:\joined.html)"},
        NormalizeCase{"BackslashNetworkPrefixKept", '\\', R"(\\server\share\joined.html)",
                      R"(\\server\share\joined.html)"},
        NormalizeCase{"BackslashSingleLeadingBecomesTwo", '\\', R"(\out\joined.html)",
                      R"(\\out\joined.html)"},
        NormalizeCase{"BackslashLeadingRunBecomesTwo", '\\', R"(\\\\\server\\x)", R"(\\server\x)"},
        NormalizeCase{"BackslashOnlySeparators", '\\', R"(\\\)", R"(\\)"},
        NormalizeCase{"BackslashLeavesSlashesAlone", '\\', "a//b", "a//b"},
        NormalizeCase{"SlashEmpty", '/', "", ""},
        NormalizeCase{"SlashDoubledBecomesOne", '/', "out//joined.html", "out/joined.html"},
        NormalizeCase{"SlashTripledBecomesTwo", '/', "a///b", "a//b"},
        NormalizeCase{"SlashLeadingRunBecomesTwo", '/', "///tmp//out/joined.html",
                      "//tmp/out/joined.html"},
        NormalizeCase{"SlashFolderEndingWithSeparator", '/', "/tmp/out//joined.html",
                      "//tmp/out/joined.html"},
        // Elsewhere a backslash is an ordinary file-name character.
        NormalizeCase{"SlashLeavesBackslashesAlone", '/', R"(a\\b/c)", R"(a\\b/c)"}),
    [](const auto& row) { return std::string(row.param.name); });

struct FolderTextCase {
    const char* name;
    std::string text;
    bool couldBeFolder;
};

class CouldBeFolderPathTest : public testing::TestWithParam<FolderTextCase> {};

TEST_P(CouldBeFolderPathTest, RefusesControlCharactersAndOverlongTexts) {
    EXPECT_EQ(CouldBeFolderPath(GetParam().text), GetParam().couldBeFolder);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CouldBeFolderPathTest,
    testing::Values(FolderTextCase{"Empty", "", true},
                    FolderTextCase{"Plain", "/home/user/Desktop/", true},
                    FolderTextCase{"SpacesAndUnicode", "/srv/Résultats 2024/", true},
                    FolderTextCase{"LongestPath", "/" + std::string(4094, 'd'), true},
                    FolderTextCase{"OneByteTooLong", "/" + std::string(4095, 'd'), false},
                    FolderTextCase{"HundredThousandCharacters", std::string(100000, 'a'), false},
                    FolderTextCase{"Newline", "/tmp\n/out", false},
                    FolderTextCase{"CarriageReturn", "/tmp/out\r", false},
                    FolderTextCase{"Tab", "/tmp/\tout", false},
                    FolderTextCase{"Escape", "/tmp/\x1b[31mout", false},
                    FolderTextCase{"Nul", std::string("/tmp/\0out", 9), false},
                    FolderTextCase{"Delete", "/tmp/\x7fout", false},
                    // An ordinary character in a Linux file name.
                    FolderTextCase{"Backslash", "/tmp\\n", true}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace veltrano
