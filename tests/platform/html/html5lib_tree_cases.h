#pragma once

#include <string>
#include <vector>

namespace veltrano::html::parser {

// One case of the html5lib tree-construction tests (data/html5lib-tree/*.dat).
struct Html5libTreeCase {
    std::string name;        // file:line of its #data
    std::string data;        // the input, every byte but the last newline
    std::string expected;    // the #document section without its trailing newlines
    bool fragment = false;   // has #document-fragment
    bool scriptOff = false;  // has #script-off

    // Whether the case parses a whole document with scripting on, as the engine does.
    bool wholeDocument() const { return !fragment && !scriptOff; }
};

// Every case of every .dat file, files in name order.
std::vector<Html5libTreeCase> readHtml5libTreeCases();

std::string withoutTrailingNewlines(std::string text);

}  // namespace veltrano::html::parser
