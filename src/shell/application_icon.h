#pragma once

#include <QIcon>
#include <QImage>

namespace veltrano {

// The one icon both windows show: two small tables meeting side by side. Painted, so the
// program carries no image file for it; the desktop's icon files are painted from it too.
QIcon applicationIcon();

// The icon at size x size pixels.
QImage paintApplicationIcon(int size);

}  // namespace veltrano
