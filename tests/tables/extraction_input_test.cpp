// Inputs that are not what "Next >" expects: each must end with a clear outcome, tables or a
// message, and never a crash or a wait. ctest gives each case a minute, so a hang fails.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "scratch_folder.h"
#include "tables/extraction.h"

namespace veltrano {
namespace {

using namespace std::string_literals;

std::string repeated(const std::string& text, int times) {
    std::string all;
    all.reserve(text.size() * times);
    for (int i = 0; i < times; ++i) {
        all += text;
    }
    return all;
}

std::string nestedTables(int depth) {
    return repeated("<table><tr><td>", depth) + "x" + repeated("</td></tr></table>", depth);
}

// Writes the input at the path given.
using Maker = std::function<void(const std::string&)>;

Maker bytes(std::string content) {
    return [content = std::move(content)](const std::string& path) {
        std::ofstream(path, std::ios::binary) << content;
    };
}

// What reading an input must end with: a failure whose message starts so, or the number of
// tables listed and one cell's text.
struct Outcome {
    std::string failure;
    std::size_t listedTables = 0;
    CellKey probe{};
    std::string probeText;
};

Outcome fails(std::string message) {
    return {std::move(message), 0, {}, {}};
}

Outcome lists(std::size_t tables, CellKey probe = {}, std::string text = {}) {
    return {{}, tables, probe, std::move(text)};
}

struct BadInput {
    std::string name;
    std::string fileName;
    Maker make;
    Outcome outcome;
};

// Named in test listings by its name, not its bytes.
void PrintTo(const BadInput& input, std::ostream* out) {
    *out << input.name;
}

std::string randomBytes() {
    std::mt19937 generator(20211031);
    std::string text(1 << 20, '\0');
    for (char& c : text) {
        c = static_cast<char>(generator());
    }
    return text;
}

std::vector<BadInput> badInputs() {
    const std::string notRegular = ", not a regular file, so it cannot be read as a document.";
    const std::string tooLarge = "The tables of this file are too large to show: ";
    return {
        {"EmptyFile", "empty.htm", bytes(""), lists(0)},
        {"RandomBytes", "random.htm", bytes(randomBytes()), lists(0)},
        // A NUL in a tag's name makes another element; in text it is dropped.
        {"NulBytesInMarkup", "nul.htm",
         bytes("<ta\0ble><tr><td>lost</td></tr></ta\0ble>"
               "<table><tr><td>a\0b</td><td>c</td></tr></table>"s),
         lists(1, {1, 1, 0}, "ab")},
        {"InvalidUtf8", "invalid.htm",
         bytes("<meta charset=utf-8><table><tr><td>a\xFF\xFE"
               "b\xC3</td></tr></table>"),
         lists(1, {1, 1, 0}, "a\uFFFD\uFFFDb\uFFFD")},
        // The declared charset is believed: UTF-8 read as windows-1252.
        {"WrongDeclaredCharset", "wrong.htm",
         bytes("<meta charset=windows-1252><table><tr><td>Gda\xC5\x84sk</td></tr></table>"),
         lists(1, {1, 1, 0}, "Gda\u00C5\u201Esk")},
        {"UnknownDeclaredCharset", "unknown.htm",
         bytes("<meta charset=x-no-such-thing><table><tr><td>caf\xE9</td></tr></table>"),
         lists(1, {1, 1, 0}, "caf\u00E9")},
        // Without a byte order mark, every other byte is a NUL: no markup is found.
        {"Utf16WithoutByteOrderMark", "utf16.htm",
         bytes("<\0t\0a\0b\0l\0e\0>\0<\0t\0r\0>\0<\0t\0d\0>\0x\0"s), lists(0)},
        // Past the depth the tree nests elements to, the table keeps no row.
        {"ElementsNestedHundredThousandDeep", "deep.htm",
         bytes(repeated("<div>", 100000) + "<table><tr><td>x</td></tr></table>"), lists(0)},
        {"HundredThousandTables", "tables.htm",
         bytes(repeated("<table><tr><td>x</td></tr></table>", 100000)),
         lists(100000, {100000, 1, 0}, "x")},
        {"TableOfHundredThousandColumns", "columns.htm",
         bytes("<table><tr>" + repeated("<td>c</td>", 99999) + "<td>last</td></tr></table>"),
         lists(1, {1, 1, 99999}, "last")},
        {"OneCellOfHundredMegabytes", "cell.htm",
         [](const std::string& path) {
             std::ofstream out(path, std::ios::binary);
             out << "<table><tr><td>" << std::string(100 << 20, 'a') << "</td><td>b</td></tr>";
         },
         lists(1, {1, 1, 1}, "b")},
        {"ThousandNestedTables", "nested1000.htm", bytes(nestedTables(1000)), fails(tooLarge)},
        {"TwoHundredNestedTables", "nested200.htm", bytes(nestedTables(200)), fails(tooLarge)},
        {"PathWithSpaces", "with a space.htm", bytes("<table><tr><td>x</table>"),
         lists(1, {1, 1, 0}, "x")},
        {"PathWithNonAsciiLetters", "\u00F1and\u00FA \u00E9t\u00E9.htm",
         bytes("<table><tr><td>x</table>"), lists(1, {1, 1, 0}, "x")},
        {"PathWithLeadingBlank", " lead.htm", bytes("<table><tr><td>x</table>"),
         lists(1, {1, 1, 0}, "x")},
        {"PathWithTrailingBlank", "trail.htm ", bytes("<table><tr><td>x</table>"),
         lists(1, {1, 1, 0}, "x")},
        {"Folder", "folder.htm",
         [](const std::string& path) { std::filesystem::create_directory(path); },
         fails("Is a directory")},
        {"SymbolicLinkLoop", "loop.htm",
         [](const std::string& path) {
             std::filesystem::create_symlink(path + ".other", path);
             std::filesystem::create_symlink(path, path + ".other");
         },
         fails("Too many levels of symbolic links")},
        {"NamedPipe", "pipe.htm", [](const std::string& path) { ::mkfifo(path.c_str(), 0600); },
         fails("This is a named pipe" + notRegular)},
        {"DeviceWithoutEnd", "zero.htm",
         [](const std::string& path) { std::filesystem::create_symlink("/dev/zero", path); },
         fails("This is a device" + notRegular)},
        // Sparse: it costs no disk. A file of exactly the limit would have to be read whole.
        {"OneByteOverTheSizeLimit", "large.htm",
         [](const std::string& path) {
             std::ofstream(path) << "<table>";
             std::filesystem::resize_file(path, kMaximumFileBytes + 1);
         },
         fails("The file is too large to read (1073741825 bytes; at most 1073741824 bytes")},
    };
}

class BadInputTest : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadInputTest, EndsWithTablesOrAMessage) {
    const BadInput& input = GetParam();
    const testing::ScratchFolder folder;
    const std::string path = (folder / input.fileName).string();
    input.make(path);
    const Outcome& expected = input.outcome;
    IgnoredProgress progress;
    try {
        const ExtractedFile file = extractTables(path, kFile1Walk, progress);
        ASSERT_EQ(expected.failure, "") << "read, though it should have failed";
        EXPECT_TRUE(file.failures.entries().empty());
        EXPECT_EQ(file.listedTables.size(), expected.listedTables);
        if (!expected.probeText.empty()) {
            EXPECT_EQ(file.tables.cells->item(expected.probe), expected.probeText);
        }
    } catch (const Failure& failure) {
        EXPECT_NE(expected.failure, "") << "failed: " << failure.what();
        EXPECT_TRUE(std::string(failure.what()).starts_with(expected.failure)) << failure.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Extraction, BadInputTest, ::testing::ValuesIn(badInputs()),
                         [](const auto& test) { return test.param.name; });

}  // namespace
}  // namespace veltrano
