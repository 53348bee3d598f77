#pragma once

#include <QRect>
#include <QString>

#include <vector>

class QWidget;

namespace veltrano::testing {

// A control as a window's layout table gives it: its parent, caption and place in twips.
struct PlacedControl {
    QWidget* control;
    QWidget* parent;
    QString caption;
    QRect twips;
};

// Checks each control's parent, place (in pixels at the window's dpi) and caption (of buttons,
// frames and labels). A label may be wider than given, to show its whole caption. Reports
// through QtTest; the caller returns when QTest::currentTestFailed().
void verifyLayout(const QWidget& window, const std::vector<PlacedControl>& controls);

}  // namespace veltrano::testing
