#pragma once

#include <string>
#include <string_view>

namespace veltrano::fuzz {

// Parses text with gumbo and prints its tree in the html5lib tree-construction tests' format,
// as parser::dumpTree prints ours: the reference for differential fuzzing. gumbo follows an
// older edition of the HTML Standard; the caller leaves out inputs where the two differ by
// design.
std::string gumboTreeDump(std::string_view text);

}  // namespace veltrano::fuzz
