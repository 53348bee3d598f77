#include "shell/application_icon.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

namespace veltrano {

namespace {

void paintTable(QPainter& painter, const QRectF& area, const QColor& header) {
    painter.setPen(QPen(QColor(40, 55, 80), area.width() / 16));
    painter.setBrush(Qt::white);
    painter.drawRect(area);
    const qreal rowHeight = area.height() / 4;
    painter.fillRect(QRectF(area.topLeft(), QSizeF(area.width(), rowHeight)), header);
    for (int row = 1; row < 4; ++row) {
        const qreal y = area.top() + row * rowHeight;
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
    const qreal middle = area.center().x();
    painter.drawLine(QPointF(middle, area.top()), QPointF(middle, area.bottom()));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
}

}  // namespace

QImage paintApplicationIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 32.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(35, 110, 190));
    painter.drawRoundedRect(QRectF(0, 0, size, size), 6 * unit, 6 * unit);
    paintTable(painter, QRectF(4 * unit, 7 * unit, 11 * unit, 18 * unit), QColor(250, 190, 60));
    paintTable(painter, QRectF(17 * unit, 7 * unit, 11 * unit, 18 * unit), QColor(120, 210, 120));
    painter.end();
    return image;
}

QIcon applicationIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128}) {
        icon.addPixmap(QPixmap::fromImage(paintApplicationIcon(size)));
    }
    return icon;
}

}  // namespace veltrano
