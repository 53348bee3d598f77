#pragma once

#include <QRect>

class QWidget;

namespace veltrano {

// Window layouts are given in twips: 1440 to the inch, so 15 to a pixel at 96 dpi. Pixels
// follow the screen's logical dpi.
int twipsToPixels(int twips, qreal logicalDpi);

// Places a control at left, top, width, height given in twips, relative to its parent.
void placeInTwips(QWidget& control, int left, int top, int width, int height);

}  // namespace veltrano
