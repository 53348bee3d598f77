#pragma once

#include <string_view>

namespace veltrano::fuzz {

// True when the text uses something gumbo 0.10 parses otherwise than the HTML Standard now says
// (or than browsers do), so that comparing its tree with ours would tell nothing. Each case was
// found by the differential fuzz target and checked against the standard's algorithm.
bool gumboDiffersByDesign(std::string_view text);

}  // namespace veltrano::fuzz
