// Feeds the same text to our HTML engine and to gumbo and compares the two trees, where gumbo
// is known to follow the HTML Standard (see gumbo_differences.h for what is left out).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "gumbo_differences.h"
#include "gumbo_tree_dump.h"
#include "platform/html/parser/parsed_document.h"
#include "platform/html/parser/tree_dump.h"
#include "platform/html/utf8_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!veltrano::html::isValidUtf8(text) || text.find('\0') != std::string::npos ||
        veltrano::fuzz::gumboDiffersByDesign(text)) {
        return 0;
    }
    const std::string ours =
        veltrano::html::parser::dumpTree(veltrano::html::parser::parseHtml(text)->tree);
    const std::string theirs = veltrano::fuzz::gumboTreeDump(text);
    if (ours != theirs) {
        std::fprintf(stderr, "input:\n%s\n--- ours:\n%s--- gumbo:\n%s", text.c_str(), ours.c_str(),
                     theirs.c_str());
        std::abort();
    }
    return 0;
}
