#pragma once

#include <string>
#include <string_view>

namespace veltrano {

struct ExtractedFile;

// One file's stored tables in the two forms of the HTML oracle (tools/html-oracle in the shared
// folder), byte for byte, so that its output and ours compare with diff.

// One JSON line: {"file":...,"tables":[{"number":N,"columnCount":C,"rows":[[...],...]}]}.
void appendJson(std::string& out, std::string_view file, const ExtractedFile& extracted);

// One line "Table N_Row r_c<TAB>text" per stored cell; line feed, carriage return, tab and
// backslash in the text written as \n, \r, \t and \\.
void appendLines(std::string& out, const ExtractedFile& extracted);

}  // namespace veltrano
