#pragma once

#include <string>
#include <string_view>

namespace veltrano {

inline constexpr std::string_view kProductName = "Veltrano";

// The title of every plain message box: the product name with whole trailing words dropped,
// at least one and then until at most 40 characters remain. A name without any blank keeps
// its whole name, so "Veltrano" stays "Veltrano".
std::string deriveApplicationTitle(std::string_view productName);

}  // namespace veltrano
