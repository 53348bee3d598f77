#include "platform/html/html_document.h"

#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "platform/failure.h"
#include "platform/file_system.h"

namespace veltrano::html {
namespace {

// Each table's rows as their td counts, "[2,1] []", found with the DOM-like operations the
// extraction is described in terms of.
std::string describeTables(const HtmlDocument& document) {
    std::string description;
    const ElementList tables = document.getElementsByTagName("table");
    for (std::size_t t = 0; t < tables.length(); ++t) {
        description += t == 0 ? "[" : " [";
        const ElementList rows = tables.item(t).getElementsByTagName("tr");
        for (std::size_t r = 0; r < rows.length(); ++r) {
            description += r == 0 ? "" : ",";
            description += std::to_string(rows.item(r).getElementsByTagName("td").length());
        }
        description += ']';
    }
    return description;
}

struct TreeCase {
    const char* name;
    const char* html;
    const char* tables;          // as describeTables gives them
    const char* firstTableText;  // textContent of table 1
};

class TreeConstruction : public testing::TestWithParam<TreeCase> {};

TEST_P(TreeConstruction, FindsTablesRowsAndCellsAsABrowserBuildsThem) {
    const auto document = HtmlDocument::parse(GetParam().html);
    EXPECT_EQ(describeTables(*document), GetParam().tables);
    const ElementList tables = document->getElementsByTagName("table");
    if (tables.length() > 0) {
        EXPECT_EQ(tables.item(0).textContent(), GetParam().firstTableText);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TreeConstruction,
    testing::Values(
        TreeCase{"ImpliedTbody", "<table><tr><td>a</td></tr></table>", "[1]", "a"},
        TreeCase{"ImpliedEndTags", "<table><tr><td>a<td>b<tr><td>c</table>", "[2,1]", "abc"},
        TreeCase{"FosterParentedContentLeavesTheTable",
                 "<table>text<tr><td>a</td></tr><div>div</div><b>b</b></table>", "[1]", "a"},
        TreeCase{"TemplateContentsAreNotInTheDocument",
                 "<template><table><tr><td>t</td></tr></table></template>"
                 "<table><tr><td>a<template><td>u</td></template></td></tr></table>",
                 "[1]", "a"},
        TreeCase{"ThOnlyRowsHaveNoCells",
                 "<table><tr><th>h</th></tr><tr><td>a</td><th>b</th></tr></table>", "[0,1]", "hab"},
        TreeCase{"TablesWithoutRows", "<table><caption>c</caption></table><table>  </table>",
                 "[] []", "c"},
        TreeCase{"NestedRowsAndCellsCountForEveryEnclosingTable",
                 "<table><tr><td><table><tr><td>a</td><td>b</td></tr></table></td></tr></table>",
                 "[3,2] [2]", "ab"},
        TreeCase{"UnclosedNestedTableEndsAtTheOuterCell",
                 "<table><tr><td>x<table><tr><td>in</table>out</td></tr></table>", "[2,1] [1]",
                 "xinout"},
        TreeCase{"CellsOutsideTablesAreDropped", "<td>x</td><tr><td>y</td></tr>", "", ""},
        TreeCase{"SvgRowsAndCellsCount",
                 "<table><tr><td><svg><tr><td>s</td></tr></svg></td></tr></table>", "[2,1]", "s"},
        TreeCase{"TableInsideAnOpenParagraph", "<p>a<table><tr><td>x</td></tr></table>b", "[1]",
                 "x"},
        TreeCase{"FormattingAcrossCells", "<table><tr><td><b>a<td>b</b></td></tr></table>", "[2]",
                 "ab"},
        TreeCase{"UpperCaseTags", "<TABLE><TR><TD>A<TD>B</TABLE>", "[2]", "AB"}),
    [](const testing::TestParamInfo<TreeCase>& row) { return std::string(row.param.name); });

TEST(HtmlDocument, TagNamesMatchWithoutRegardToCase) {
    const auto document =
        HtmlDocument::parse("<dialog open>d</dialog><DIALOG>e</DIALOG><Td>x</Td><div></div>");
    EXPECT_EQ(document->getElementsByTagName("dialog").length(), 2u);
    EXPECT_EQ(document->getElementsByTagName("DIV").length(), 1u);
    EXPECT_EQ(
        document->getElementsByTagName("body").item(0).getElementsByTagName("Dialog").length(), 2u);
    EXPECT_THROW(document->getElementsByTagName("td").item(0), std::out_of_range);
}

TEST(HtmlDocument, DeepNestingNeedsNoCallStack) {
    constexpr std::size_t kDepth = 100000;
    std::string html = "<table><tr><td>";
    for (std::size_t i = 0; i < kDepth; ++i) {
        html += "<span>";
    }
    html += "deep";
    const auto document = HtmlDocument::parse(std::move(html));
    EXPECT_EQ(document->getElementsByTagName("span").length(), kDepth);
    EXPECT_EQ(document->getElementsByTagName("td").item(0).textContent(), "deep");
}

// Fails every read with a description of its own.
class FailingFileSystem final : public platform::FileSystem {
public:
    bool canQueryModificationTime(const std::string&) override { return true; }
    bool isDirectory(const std::string&) override { return false; }
    std::string readFile(const std::string&, std::uint64_t) override {
        throw Failure("Input/output error");
    }
    std::unique_ptr<platform::FileWriter> createNewFile(const std::string&, std::string_view,
                                                        std::string&) override {
        throw Failure("not used");
    }
    void replaceFile(const std::string&, const std::string&) override {}
    void syncFolder(const std::string&) override {}
    bool removeFile(const std::string&) override { return false; }
};

TEST(HtmlDocument, LoadPassesOnTheFileSystemsFailure) {
    FailingFileSystem failing;
    const platform::ScopedFileSystem scope(failing);
    try {
        HtmlDocument::load(VELTRANO_TEST_DATA "/multibyte.html", 1 << 20);
        FAIL() << "load did not fail";
    } catch (const Failure& failure) {
        EXPECT_STREQ(failure.what(), "Input/output error");
    }
}

TEST(HtmlDocument, LoadRefusesFilesOverTheLimit) {
    EXPECT_THROW(HtmlDocument::load(VELTRANO_TEST_DATA "/multibyte.html", 100), Failure);
}

TEST(HtmlDocument, LoadDecodesTheDeclaredEncoding) {
    const auto document =
        HtmlDocument::load(VELTRANO_TEST_DATA "/legacy_encoding_crlf.html", 1 << 20);
    const ElementList cells = document->getElementsByTagName("td");
    ASSERT_EQ(cells.length(), 6u);
    EXPECT_EQ(cells.item(0).textContent(), "caf\u00e9");
    EXPECT_EQ(cells.item(1).textContent(), "\u20ac \u201cquoted\u201d");
    EXPECT_EQ(cells.item(2).textContent(), "line one\nline two");  // CR LF read as LF
}

}  // namespace
}  // namespace veltrano::html
