#pragma once

#include <string_view>
#include <vector>

#include "platform/html/css/css_token.h"

namespace veltrano::html::css {

// CSS Syntax Level 3's tokenization of a decoded style sheet (UTF-8), after the standard's
// preprocessing of newlines and NUL. Comments produce no token; there is no end-of-file token
// (the end of the list is the end of the input).
//
// Every code point from U+0080 on counts as an ident code point, as in the browsers (the
// standard has lately narrowed that set; no browser follows it yet).
std::vector<Token> tokenize(std::string_view text);

}  // namespace veltrano::html::css
