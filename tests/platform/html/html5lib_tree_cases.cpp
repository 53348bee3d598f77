#include "html5lib_tree_cases.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace veltrano::html::parser {
namespace {

// The .dat format: a case starts at a "#data" line; its sections start at lines naming them
// ("#errors", "#document", ...). The data keeps every byte but its last newline; the document
// runs up to the next case.
void readCases(const std::filesystem::path& file, std::vector<Html5libTreeCase>& cases) {
    std::ifstream in(file, std::ios::binary);
    const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::size_t first = cases.size();
    std::string section;
    std::string body;
    int lineNumber = 0;
    const auto finishSection = [&] {
        if (cases.size() == first) {
            return;
        }
        if (!body.empty() && body.back() == '\n') {
            body.pop_back();
        }
        if (section == "data") {
            cases.back().data = body;
        } else if (section == "document") {
            cases.back().expected = withoutTrailingNewlines(body);
        }
        body.clear();
    };
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) {
            end = content.size();
        }
        const std::string line = content.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        const bool heading = line == "#data" || line == "#errors" || line == "#new-errors" ||
                             line == "#document" || line == "#document-fragment" ||
                             line == "#script-on" || line == "#script-off";
        if (heading && !(section == "data" && line == "#data")) {
            finishSection();
            section = line.substr(1);
            if (section == "data") {
                Html5libTreeCase treeCase;
                treeCase.name = file.filename().string() + ":" + std::to_string(lineNumber);
                cases.push_back(std::move(treeCase));
            } else if (section == "document-fragment") {
                cases.back().fragment = true;
            } else if (section == "script-off") {
                cases.back().scriptOff = true;
            }
            continue;
        }
        body += line;
        body += '\n';
    }
    finishSection();
}

}  // namespace

std::string withoutTrailingNewlines(std::string text) {
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return text;
}

std::vector<Html5libTreeCase> readHtml5libTreeCases() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry :
         std::filesystem::directory_iterator(VELTRANO_TEST_DATA "/html5lib-tree")) {
        if (entry.path().extension() == ".dat") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<Html5libTreeCase> cases;
    for (const auto& file : files) {
        readCases(file, cases);
    }
    return cases;
}

}  // namespace veltrano::html::parser
