#include "shell/shell_functions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "scratch_folder.h"
#include "shell/application_title.h"

namespace veltrano {
namespace {

TEST(ApplicationTitle, DropsWholeTrailingWords) {
    struct Case {
        const char* name;
        std::string product;
        std::string title;
    };
    const std::string word38 = std::string(37, 'a');
    const Case cases[] = {
        {"no blank keeps the whole name", "Veltrano", "Veltrano"},
        {"four words of five letters lose one", "Alpha Bravo Charl Delta", "Alpha Bravo Charl"},
        {"a fifty-character name with its last blank at 38 loses one word",
         word38 + " " + std::string(12, 'b'), word38},
        {"words are dropped until at most forty remain",
         std::string(30, 'c') + " " + std::string(15, 'd') + " " + std::string(10, 'e'),
         std::string(30, 'c')},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(deriveApplicationTitle(c.product), c.title) << c.name;
    }
    EXPECT_EQ(deriveApplicationTitle(word38 + " " + std::string(12, 'b')).size(), 37U);
}

TEST(FileExists, IsTrueForFilesAndFoldersOnly) {
    const testing::ScratchFolder scratch;
    const auto& folder = scratch.path();
    const auto file = folder / "a file.htm";
    std::ofstream(file) << "x";

    EXPECT_TRUE(FileExists(file.string()));
    EXPECT_TRUE(FileExists(folder.string()));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists((folder / "missing.htm").string()));
    EXPECT_FALSE(FileExists((file / "below a file").string()));
}

TEST(BesideProgram, AppendsTheNameWithOneSeparator) {
    EXPECT_EQ(besideProgram("/opt/veltrano", "HAND-M.CUR"), "/opt/veltrano/HAND-M.CUR");
    // A program at the root keeps the doubled separator, as it stands.
    EXPECT_EQ(besideProgram("/", "x/o.cjs"), "//x/o.cjs");
}

}  // namespace
}  // namespace veltrano
