#include "platform/qt/cursor_file.h"

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QtEndian>

#include "platform/failure.h"
#include "platform/qt/qt_text.h"

namespace veltrano::platform {

namespace {

// A .cur file starts with a 6-byte directory header (reserved 0, type 2, image count) and a
// 16-byte entry per image whose bytes 4-7 hold the hot spot.
constexpr qsizetype kHeaderBytes = 6;
constexpr qsizetype kEntryBytes = 16;

quint16 readWord(const QByteArray& bytes, qsizetype offset) {
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

}  // namespace

QCursor loadCursorFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw Failure(toUtf8(file.errorString()));
    }
    const QByteArray bytes = file.readAll();
    const bool isCursor = bytes.size() >= kHeaderBytes + kEntryBytes && readWord(bytes, 0) == 0 &&
                          readWord(bytes, 2) == 2 && readWord(bytes, 4) >= 1;
    const QImage image = isCursor ? QImage::fromData(bytes, "CUR") : QImage();
    if (image.isNull()) {
        throw Failure("Invalid picture");
    }
    const int hotX = readWord(bytes, kHeaderBytes + 4);
    const int hotY = readWord(bytes, kHeaderBytes + 6);
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}

}  // namespace veltrano::platform
