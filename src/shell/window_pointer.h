#pragma once

#include <QCursor>
#include <QObject>

#include <initializer_list>
#include <optional>

class QWidget;

namespace veltrano {

// A window's pointer mode: normal (the default arrow) or custom (the hand pointer, when one
// was loaded; the arrow otherwise). Moving the mouse over a watched control sets the mode
// that control stands for; moving over any other control leaves the mode as it is.
class WindowPointer final : public QObject {
public:
    explicit WindowPointer(QWidget& window);

    // Marks a control of a window, so that the parts it is made of count as the control.
    static void markControl(QWidget& control);

    void setCustomPointer(const QCursor& pointer) { mCustomPointer = pointer; }
    void customOver(std::initializer_list<QWidget*> controls);
    void normalOver(std::initializer_list<QWidget*> controls);
    bool isCustom() const { return mCustom; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watch(std::initializer_list<QWidget*> controls, bool custom);
    void followMouseAt(const QPointF& globalPosition);
    void setMode(bool custom);

    QWidget& mWindow;
    std::optional<QCursor> mCustomPointer;
    bool mCustom = false;
};

}  // namespace veltrano
