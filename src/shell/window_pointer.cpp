#include "shell/window_pointer.h"

#include <QMouseEvent>
#include <QVariant>
#include <QWidget>

namespace veltrano {

namespace {

constexpr char kControlProperty[] = "veltranoControl";
// Which mode a watched control stands for travels with the control itself.
constexpr char kModeProperty[] = "veltranoCustomPointer";

}  // namespace

WindowPointer::WindowPointer(QWidget& window) : QObject(&window), mWindow(window) {}

void WindowPointer::markControl(QWidget& control) {
    control.setProperty(kControlProperty, true);
}

void WindowPointer::customOver(std::initializer_list<QWidget*> controls) {
    watch(controls, true);
}

void WindowPointer::normalOver(std::initializer_list<QWidget*> controls) {
    watch(controls, false);
}

void WindowPointer::watch(std::initializer_list<QWidget*> controls, bool custom) {
    for (QWidget* control : controls) {
        control->setMouseTracking(true);
        control->setProperty(kModeProperty, custom);
        control->installEventFilter(this);
    }
}

bool WindowPointer::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        followMouseAt(static_cast<QMouseEvent*>(event)->globalPosition());
    }
    return QObject::eventFilter(watched, event);
}

void WindowPointer::followMouseAt(const QPointF& globalPosition) {
    // A move the button ignores travels on to its frame and window, so the mode comes from
    // the control under the mouse, not from whichever widget sees the event.
    QWidget* control = mWindow.childAt(mWindow.mapFromGlobal(globalPosition).toPoint());
    while (control != nullptr && !control->property(kControlProperty).toBool()) {
        control = control->parentWidget();
    }
    const QVariant mode = (control != nullptr ? control : &mWindow)->property(kModeProperty);
    if (mode.isValid()) {
        setMode(mode.toBool());
    }
}

void WindowPointer::setMode(bool custom) {
    if (custom == mCustom) {
        return;
    }
    mCustom = custom;
    if (custom && mCustomPointer) {
        mWindow.setCursor(*mCustomPointer);
    } else {
        mWindow.setCursor(Qt::ArrowCursor);
    }
}

}  // namespace veltrano
