#pragma once

#include <string_view>

#include "platform/html/element_style.h"

namespace veltrano::html {

// Applies the declarations of a style attribute ("display: none; color: red") to style, the
// element's style so far from its tag's defaults and attributes. Only the properties rendered
// text depends on are read: display, visibility, white-space, text-transform, and float and
// position for taking a box out of the line. The declarations are read as style sheets' are;
// invalid ones are ignored, and of the rest an important one beats a normal one and a later
// one an earlier. parent resolves `inherit`. Returns whether the box is floated or absolutely
// positioned.
bool applyStyleAttribute(std::string_view declarations, const InheritedStyle& parent,
                         ElementStyle& style);

}  // namespace veltrano::html
