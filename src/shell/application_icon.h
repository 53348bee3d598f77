#pragma once

#include <QIcon>

namespace veltrano {

// The one icon both windows show: two small tables meeting side by side. Painted, so the
// program carries no image file for it.
QIcon applicationIcon();

}  // namespace veltrano
