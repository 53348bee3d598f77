#include "layout_check.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QtTest>

#include "shell/twips.h"

namespace veltrano::testing {

namespace {

QString captionOf(const QWidget* control) {
    if (auto* button = qobject_cast<const QAbstractButton*>(control)) {
        return button->text();
    }
    if (auto* frame = qobject_cast<const QGroupBox*>(control)) {
        return frame->title();
    }
    if (auto* label = qobject_cast<const QLabel*>(control)) {
        return label->text();
    }
    return {};
}

void verifyPlace(const QWidget& window, const PlacedControl& placed) {
    const qreal dpi = window.screen()->logicalDotsPerInch();
    auto px = [dpi](int twips) { return twipsToPixels(twips, dpi); };
    const QRect place(px(placed.twips.x()), px(placed.twips.y()), px(placed.twips.width()),
                      px(placed.twips.height()));
    const QWidget* control = placed.control;
    QCOMPARE(control->parentWidget(), placed.parent);
    if (qobject_cast<const QLabel*>(control) != nullptr) {
        QCOMPARE(control->pos(), place.topLeft());
        QCOMPARE(control->height(), place.height());
        QVERIFY(control->width() >= place.width());
        QVERIFY(control->sizeHint().width() <= control->width());
    } else {
        QCOMPARE(control->geometry(), place);
    }
    if (qobject_cast<const QAbstractButton*>(control) != nullptr ||
        qobject_cast<const QGroupBox*>(control) != nullptr ||
        qobject_cast<const QLabel*>(control) != nullptr) {
        QCOMPARE(captionOf(control), placed.caption);
    }
}

}  // namespace

void verifyLayout(const QWidget& window, const std::vector<PlacedControl>& controls) {
    for (const PlacedControl& placed : controls) {
        verifyPlace(window, placed);
        if (QTest::currentTestFailed()) {
            qWarning("control %s", qPrintable(placed.control->objectName()));
            return;
        }
    }
}

}  // namespace veltrano::testing
