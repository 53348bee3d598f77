#pragma once

#include <string_view>

#include "platform/html/css/css_parser.h"

namespace veltrano::html::css {

// Media Queries Level 4 evaluated for the window the cell texts are compared with: a screen of
// 1280 × 1024 CSS pixels at one device pixel per CSS pixel, in a light colour scheme, with a
// mouse, and without scripts. Width, height, their device- forms, aspect ratio, orientation,
// resolution, colour, pointer and hover, scripting and the user's preferences are answered as
// headless Chromium answers them; any other feature, an unknown media type and a query that
// does not parse are false (as is "not" of something unknown).
bool matchesMediaQueryList(const ComponentValues& values, ValueRange range);

// A media attribute's value; an empty one matches.
bool matchesMediaQueryList(std::string_view text);

}  // namespace veltrano::html::css
