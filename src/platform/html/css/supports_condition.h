#pragma once

#include "platform/html/css/css_parser.h"

namespace veltrano::html::css {

// Whether an @supports condition surely holds in the browser the cell texts are compared with:
// a declaration holds when it is one of the values read here (each of which the browser
// supports too), a selector() when it parses here. What is not read here is unknown rather than
// false, since the browser may support it; so "not" of it is unknown as well, and only a
// condition that surely holds counts.
bool supportsConditionHolds(const ComponentValues& values, ValueRange range);

// The same for what @import's supports() holds: a condition or a bare declaration.
bool importSupportsConditionHolds(const ComponentValues& values, ValueRange range);

}  // namespace veltrano::html::css
