#include "shell/application_font.h"

#include <QApplication>
#include <QFontInfo>

namespace veltrano {

QFont proportionalFont(const QFont& platformDefault) {
    if (!QFontInfo(platformDefault).fixedPitch()) {
        return platformDefault;
    }
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    if (platformDefault.pointSizeF() > 0) {
        font.setPointSizeF(platformDefault.pointSizeF());
    } else {
        font.setPixelSize(platformDefault.pixelSize());
    }
    return font;
}

void useProportionalDefaultFont() {
    QApplication::setFont(proportionalFont(QApplication::font()));
}

}  // namespace veltrano
