#include "shell/window_setup.h"

#include <QFont>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include <algorithm>

#include "platform/qt/cursor_file.h"
#include "platform/qt/desktop_services.h"
#include "platform/qt/qt_text.h"
#include "shell/guarded_steps.h"
#include "shell/shell_functions.h"
#include "shell/twips.h"
#include "shell/window_pointer.h"

namespace veltrano {

namespace {

Q_LOGGING_CATEGORY(lcFiles, "veltrano.files", QtWarningMsg)

QFont arialBold(qreal pointSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    font.setBold(true);
    return font;
}

template <class Control>
Control* addControl(QWidget& parent, const char* name, int left, int top, int width, int height) {
    auto* control = new Control(&parent);
    control->setObjectName(QLatin1String(name));
    WindowPointer::markControl(*control);
    placeInTwips(*control, left, top, width, height);
    return control;
}

}  // namespace

void setUpFixedWindow(QWidget& window, int clientWidthTwips, int clientHeightTwips) {
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    window.setFont(arialBold(9));
    const qreal dpi = window.screen()->logicalDotsPerInch();
    window.setFixedSize(twipsToPixels(clientWidthTwips, dpi),
                        twipsToPixels(clientHeightTwips, dpi));
}

void centreOnScreen(QWidget& window) {
    const QRect available = window.screen()->availableGeometry();
    window.move(available.center() - window.rect().center());
}

void spreadWindowFont(QWidget& window) {
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->testAttribute(Qt::WA_SetFont)) {
            control->setFont(window.font());
        }
    }
}

QPushButton* addPushButton(QWidget& parent, const char* name, const QString& caption, int left,
                           int top, int width, int height) {
    auto* button = addControl<QPushButton>(parent, name, left, top, width, height);
    button->setText(caption);
    button->setFont(arialBold(11.25));
    return button;
}

QGroupBox* addFrame(QWidget& parent, const char* name, const QString& caption, int left, int top,
                    int width, int height) {
    auto* frame = addControl<QGroupBox>(parent, name, left, top, width, height);
    frame->setTitle(caption);
    return frame;
}

QLineEdit* addTextBox(QWidget& parent, const char* name, int left, int top, int width, int height) {
    return addControl<QLineEdit>(parent, name, left, top, width, height);
}

QLabel* addLabel(QWidget& parent, const char* name, const QString& caption, int left, int top,
                 int width, int height) {
    auto* label = addControl<QLabel>(parent, name, left, top, width, height);
    label->setText(caption);
    label->setFont(parent.window()->font());
    label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
    return label;
}

QString besideProgramFile(const char* relativeName) {
    const std::string folder = platform::toUtf8(platform::desktopServices().applicationFolder());
    return platform::toQString(besideProgram(folder, relativeName));
}

void reportFilesBesideProgram() {
    qCInfo(lcFiles).noquote() << "application folder:"
                              << platform::desktopServices().applicationFolder();
    for (const char* name : {kSkinFile, kPointerFile, kSampleFile1, kSampleFile2}) {
        const bool found = FileExists(platform::toUtf8(besideProgramFile(name)));
        qCInfo(lcFiles).noquote() << name << (found ? "found" : "missing");
    }
}

void loadHandPointer(GuardedSteps& steps, int testLine, int loadLine, PointerTest question,
                     WindowPointer& pointer) {
    const QString pointerFile = besideProgramFile(kPointerFile);
    const bool asksPresent = question == PointerTest::AskPresent;
    const bool answer = steps.test(
        testLine, [&] { return FileExists(platform::toUtf8(pointerFile)) == asksPresent; });
    if (answer == asksPresent) {
        steps.step(loadLine,
                   [&] { pointer.setCustomPointer(platform::loadCursorFile(pointerFile)); });
    }
}

}  // namespace veltrano
