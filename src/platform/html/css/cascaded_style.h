#pragma once

#include "platform/html/css/cascade.h"
#include "platform/html/element_style.h"

namespace veltrano::html::css {

// Gives style, an element's style so far from the user agent's defaults for its tag and
// attributes, the values that won the cascade: display, visibility, white-space and
// text-transform, with inherit, initial, unset and revert resolved against parent (the style
// its parent passes down) and those defaults. Returns whether the box is floated or absolutely
// positioned.
bool applyCascadedValues(const CascadedValues& values, const InheritedStyle& parent,
                         ElementStyle& style);

}  // namespace veltrano::html::css
