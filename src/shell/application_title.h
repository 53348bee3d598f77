#pragma once

#include <string>
#include <string_view>

namespace veltrano {

inline constexpr std::string_view kProductName = "Veltrano";

// The title of every plain message box: the product name with whole trailing words dropped,
// at least one and then until at most 40 characters remain. A name without any blank keeps
// its whole name, so "Veltrano" stays "Veltrano".
std::string deriveApplicationTitle(std::string_view productName);

// Sets the application title from the product name; done once, while the main window loads.
void SetApplicationTitle();
// The title of plain message boxes: the product name until SetApplicationTitle has run.
const std::string& applicationTitle();

}  // namespace veltrano
