// parseHtml's own work: the input stream's newline normalization, before the tokenizer and
// the tree builder see the text.

#include "platform/html/parser/parsed_document.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "platform/html/parser/tree_dump.h"

namespace veltrano::html::parser {
namespace {

struct NewlineCase {
    const char* name;
    std::string html;
    const char* body;  // the dump's lines below body
};

void PrintTo(const NewlineCase& row, std::ostream* out) {
    *out << row.name;
}

class NewlineNormalization : public testing::TestWithParam<NewlineCase> {};

TEST_P(NewlineNormalization, TurnsCrLfAndCrIntoLf) {
    const std::string dump = dumpTree(parseHtml(GetParam().html)->tree);
    const std::string marker = "|   <body>\n";
    ASSERT_NE(dump.find(marker), std::string::npos);
    EXPECT_EQ(dump.substr(dump.find(marker) + marker.size()), GetParam().body);
}

INSTANTIATE_TEST_SUITE_P(
    ParsedDocument, NewlineNormalization,
    testing::Values(NewlineCase{"CrLf", "a\r\nb", "|     \"a\nb\"\n"},
                    NewlineCase{"LoneCr", "a\rb", "|     \"a\nb\"\n"},
                    NewlineCase{"CrThenCrLf", "a\r\r\nb", "|     \"a\n\nb\"\n"},
                    NewlineCase{"CrAtTheEnd", "a\r", "|     \"a\n\"\n"},
                    NewlineCase{"CrInAttributeValue", "<p title=\"x\r\ny\">",
                                "|     <p>\n|       title=\"x\ny\"\n"},
                    // The line feed after <pre> is dropped only once CR LF has become LF.
                    NewlineCase{"CrLfAfterPre", "<pre>\r\n\r\nx",
                                "|     <pre>\n|       \"\nx\"\n"}),
    [](const testing::TestParamInfo<NewlineCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace veltrano::html::parser
