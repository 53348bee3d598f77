#include "shell/appearance.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QWidget>

#include "platform/qt/qt_text.h"
#include "platform/qt/skin_framework.h"
#include "shell/shell_functions.h"

namespace veltrano {

namespace {

void paintBackground(QWidget& widget, const QBrush& brush) {
    QPalette palette = widget.palette();
    palette.setBrush(QPalette::Window, brush);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

bool takesFaceColour(const QWidget& control) {
    return qobject_cast<const QRadioButton*>(&control) != nullptr ||
           qobject_cast<const QCheckBox*>(&control) != nullptr ||
           qobject_cast<const QGroupBox*>(&control) != nullptr ||
           qobject_cast<const QLabel*>(&control) != nullptr;
}

}  // namespace

void ApplyFaceColour(QWidget& window) {
    const QBrush face = QApplication::palette().brush(QPalette::Active, QPalette::Button);
    paintBackground(window, face);
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (takesFaceColour(*control)) {
            paintBackground(*control, face);
        }
    }
}

void ApplySkin(QWidget& mainWindow, platform::SkinComponent& skin, const QString& skinFile) {
    if (!FileExists(platform::toUtf8(skinFile))) {
        return;
    }
    ApplyFaceColour(mainWindow);
    skin.LoadSkin(skinFile, QString());
    skin.setApplyOptions(skin.ApplyOptions() | 1);
    skin.setAutoApplyNewWindows(true);
    skin.setAutoApplyNewThreads(true);
    skin.ApplyWindow(static_cast<qint64>(mainWindow.winId()));
}

void paintWhite(QWidget& widget) {
    paintBackground(widget, Qt::white);
}

}  // namespace veltrano
