#include "platform/qt/skin_framework.h"

#include <QApplication>
#include <QFile>
#include <QWidget>

#include "platform/failure.h"
#include "platform/qt/qt_text.h"

namespace veltrano::platform {

void SkinFramework::LoadSkin(const QString& path, const QString& /*iniSection*/) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        throw Failure(toUtf8(file.errorString()));
    }
    mStyleSheet = QString::fromUtf8(file.readAll());
}

void SkinFramework::ApplyWindow(qint64 windowHandle) {
    QWidget* window = QWidget::find(static_cast<WId>(windowHandle));
    if (window == nullptr) {
        throw Failure("Invalid window handle");
    }
    if (mAutoApplyNewWindows || (mOptions & kApplyToDialogs) != 0) {
        // One application-wide sheet reaches every window, the later ones included.
        qApp->setStyleSheet(mStyleSheet);
    } else {
        window->setStyleSheet(mStyleSheet);
    }
}

}  // namespace veltrano::platform
