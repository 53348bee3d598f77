#include "shell/twips.h"

#include <QScreen>
#include <QWidget>

#include <cmath>

namespace veltrano {

namespace {

constexpr qreal kTwipsPerInch = 1440.0;

}  // namespace

int twipsToPixels(int twips, qreal logicalDpi) {
    return static_cast<int>(std::lround(twips * logicalDpi / kTwipsPerInch));
}

void placeInTwips(QWidget& control, int left, int top, int width, int height) {
    const qreal dpi = control.screen()->logicalDotsPerInch();
    control.setGeometry(twipsToPixels(left, dpi), twipsToPixels(top, dpi),
                        twipsToPixels(width, dpi), twipsToPixels(height, dpi));
}

}  // namespace veltrano
