#include "shell/form1.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include "fake_desktop.h"
#include "layout_check.h"
#include "platform/qt/qt_messages.h"
#include "scratch_home.h"
#include "shell/twips.h"
#include "shell/window_pointer.h"

using veltrano::Form1;
using veltrano::testing::FakeDesktop;

namespace {

QColor background(const QWidget& widget) {
    return widget.palette().color(QPalette::Window);
}

QColor faceColour() {
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}

void moveMouseOver(QWidget* widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QByteArray handPointerFile() {
    QFile file(QStringLiteral(VELTRANO_RESOURCES "/HAND-M.CUR"));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Drags data onto the window at a point of a control, as the platform delivers a drag: to
// the window, which finds the control under the point that takes drops. True when accepted.
bool dropOnto(QWidget* control, QPoint at, QMimeData* data) {
    QWidget* window = control->window();
    const QPointF point = control->mapTo(window, at);
    QDragEnterEvent enter(point.toPoint(), Qt::CopyAction | Qt::LinkAction, data, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(window->windowHandle(), &enter);
    if (!enter.isAccepted()) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(window->windowHandle(), &leave);
        return false;
    }
    QDropEvent drop(point, Qt::CopyAction | Qt::LinkAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window->windowHandle(), &drop);
    return drop.isAccepted();
}

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

    veltrano::testing::ScratchHome mHome;

private Q_SLOTS:
    void controlsSitWhereTheLayoutSays() {
        FakeDesktop desktop;
        Form1 form;
        const qreal dpi = form.screen()->logicalDotsPerInch();
        auto px = [dpi](int twips) { return veltrano::twipsToPixels(twips, dpi); };
        if (qFuzzyCompare(dpi, 96.0)) {
            QCOMPARE(form.size(), QSize(536, 191));
        }
        QCOMPARE(form.size(), QSize(px(8040), px(2865)));
        veltrano::testing::verifyLayout(
            form, {
                      {form.PushButton1,
                       &form,
                       QStringLiteral("Load Sample/Example Files"),
                       {120, 120, 7800, 405}},
                      {form.Frame1, &form, QStringLiteral("HTML File #1"), {120, 600, 7800, 800}},
                      {form.Text1, form.Frame1, QString(), {240, 300, 6600, 345}},
                      {form.PushButton4, form.Frame1, QStringLiteral("..."), {6960, 300, 600, 345}},
                      {form.Frame2, &form, QStringLiteral("HTML File #2"), {120, 1440, 7800, 800}},
                      {form.Text2, form.Frame2, QString(), {240, 300, 6600, 345}},
                      {form.PushButton6, form.Frame2, QStringLiteral("..."), {6960, 300, 600, 345}},
                      {form.Command1, &form, QStringLiteral("Command1"), {-720, 2640, 615, 495}},
                      {form.PushButton7, &form, QStringLiteral("Next >"), {120, 2360, 7800, 405}},
                  });
        if (QTest::currentTestFailed()) {
            return;
        }
        QVERIFY(form.Command1->geometry().right() < 0);
        QCOMPARE(form.font().family(), QStringLiteral("Arial"));
        QVERIFY(form.font().bold());
        QCOMPARE(form.font().pointSizeF(), 9.0);
        QCOMPARE(form.PushButton7->font().pointSizeF(), 11.25);
        QCOMPARE(form.windowTitle(), QStringLiteral("Veltrano"));
        QVERIFY(!form.windowIcon().isNull());
        QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(form.minimumSize(), form.maximumSize());
    }

    void tabOrderStartsAtTheHiddenButton() {
        FakeDesktop desktop;
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(QApplication::focusWidget(), form.Command1);
        const QList<QWidget*> order = {form.Text2,       form.PushButton6, form.Text1,
                                       form.PushButton4, form.PushButton7, form.PushButton1,
                                       form.Command1};
        for (QWidget* next : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void withoutSkinFileTheWindowStaysWhite() {
        FakeDesktop desktop;
        Form1 form;
        QVERIFY(desktop.skinCalls.isEmpty());
        for (QWidget* widget : QList<QWidget*>{&form, form.Frame1, form.Frame2}) {
            QCOMPARE(background(*widget), QColor(Qt::white));
        }
    }

    void withSkinFileTheSkinGetsFiveCallsInOrder() {
        FakeDesktop desktop;
        desktop.addBesideProgram(QStringLiteral("x/o.cjs"), "QPushButton { color: navy; }");
        Form1 form;
        const QStringList calls = {QStringLiteral("2 o.cjs|"), QStringLiteral("1 get"),
                                   QStringLiteral("1 set 5"),  QStringLiteral("5 1"),
                                   QStringLiteral("10 1"),     QStringLiteral("3 handle")};
        QCOMPARE(desktop.skinCalls, calls);
        for (QWidget* widget : QList<QWidget*>{&form, form.Frame1, form.Frame2}) {
            QCOMPARE(background(*widget), faceColour());
        }
        QVERIFY(desktop.messages.empty());
    }

    void handPointerShowsOverPushButtonsOnly() {
        FakeDesktop desktop;
        desktop.addBesideProgram(QStringLiteral("HAND-M.CUR"), handPointerFile());
        Form1 form;
        form.show();
        QVERIFY(desktop.messages.empty());
        QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
        for (QWidget* button : QList<QWidget*>{form.PushButton1, form.PushButton4, form.PushButton6,
                                               form.PushButton7}) {
            moveMouseOver(button);
            QCOMPARE(form.cursor().shape(), Qt::BitmapCursor);
            moveMouseOver(form.Text1);  // not watched: the mode stays
            QCOMPARE(form.cursor().shape(), Qt::BitmapCursor);
            moveMouseOver(form.Frame1);
            QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
        }
        moveMouseOver(form.PushButton7);
        moveMouseOver(&form);
        QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
    }

    void withoutPointerFileTheArrowStays() {
        FakeDesktop desktop;
        Form1 form;
        moveMouseOver(form.PushButton1);
        QVERIFY(form.pointer().isCustom());
        QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
    }

    void aDamagedPointerFileIsReportedAtLine108() {
        FakeDesktop desktop;
        desktop.addBesideProgram(QStringLiteral("HAND-M.CUR"), "not a cursor");
        Form1 form;
        QCOMPARE(desktop.messages.size(), size_t{1});
        const auto& report = desktop.messages.front();
        QCOMPARE(report.title, QStringLiteral("Application Error"));
        QCOMPARE(report.icon, QMessageBox::Warning);
        QVERIFY(report.text.startsWith(QStringLiteral(
            "Invalid picture\r\nin Veltrano2021/08/31.Form1.Form_Load at line 108\r\r")));
        // The steps before it ran; the pointer stays the arrow.
        QCOMPARE(form.windowTitle(), QStringLiteral("Veltrano"));
        moveMouseOver(form.PushButton1);
        QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
    }

    void plainMessagesCarryTheApplicationTitle() {
        FakeDesktop desktop;
        Form1 form;
        veltrano::platform::messages().showPlain("Done.");
        QCOMPARE(desktop.messages.size(), size_t{1});
        QCOMPARE(desktop.messages[0].title, QStringLiteral("Veltrano"));
        QCOMPARE(desktop.messages[0].icon, QMessageBox::NoIcon);
    }

    void closingTheWindowEndsTheProgram() {
        FakeDesktop desktop;
        Form1 form;
        form.show();
        form.close();
        QCOMPARE(desktop.endProgramCalls, 1);
    }

    void browsingReplacesTheFieldOrKeepsItOnCancel() {
        FakeDesktop desktop;
        Form1 form;
        form.Text1->setText(QStringLiteral("typed by hand.htm"));
        form.PushButton4->click();  // cancelled
        QCOMPARE(form.Text1->text(), QStringLiteral("typed by hand.htm"));

        desktop.openAnswers = {QStringLiteral("/data/report.html")};
        form.PushButton4->click();
        QCOMPARE(form.Text1->text(), QStringLiteral("/data/report.html"));

        desktop.openAnswers = {QStringLiteral("/data/other.htm")};
        form.PushButton6->click();
        QCOMPARE(form.Text2->text(), QStringLiteral("/data/other.htm"));
        QCOMPARE(form.Text1->text(), QStringLiteral("/data/report.html"));

        QCOMPARE(desktop.openRequests.size(), size_t{3});
        const auto& second = desktop.openRequests[2];
        QCOMPARE(second.fileName, QString());  // the name chosen for file #1 is not offered
        QCOMPARE(second.flags, 2621441);
        QCOMPARE(second.title, QStringLiteral("Select Excel File"));
        QCOMPARE(desktop.openRequests[0].filter, QStringLiteral("All HTML Files (*.htm)|*.htm*|"));
        QCOMPARE(second.filter, QStringLiteral("All HTML Files (*.htm*)|*.htm*|"));
        QVERIFY(desktop.messages.empty());
    }

    void aDroppedFileFillsTheBoxItLandsOn() {
        FakeDesktop desktop;
        Form1 form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        struct Drop {
            QWidget* onto;
            QPoint at;
            QLineEdit* box;
        };
        // Onto the box, onto its frame's caption, onto the frame's "..." button.
        for (const Drop& drop :
             {Drop{form.Text1, {10, 5}, form.Text1}, Drop{form.Frame2, {30, 4}, form.Text2},
              Drop{form.PushButton4, {5, 5}, form.Text1}}) {
            form.Text1->setText(QStringLiteral("old"));
            form.Text2->setText(QStringLiteral("old"));
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(QStringLiteral("/data/Q3 report.html"))});
            QVERIFY(dropOnto(drop.onto, drop.at, &data));
            QCOMPARE(drop.box->text(), QStringLiteral("/data/Q3 report.html"));
            QLineEdit* other = drop.box == form.Text1 ? form.Text2 : form.Text1;
            QCOMPARE(other->text(), QStringLiteral("old"));
        }

        // A web address is no file: refused by the frame, and the box is left as it was.
        form.Text1->setText(QStringLiteral("old"));
        QMimeData web;
        web.setUrls({QUrl(QStringLiteral("https://example.com/a.html"))});
        QVERIFY(!dropOnto(form.Frame1, {30, 4}, &web));
        QCOMPARE(form.Text1->text(), QStringLiteral("old"));
        // A file offered only as the text of its URL.
        QMimeData urlText;
        urlText.setText(QStringLiteral("file:///data/Q4%20report.htm"));
        QVERIFY(dropOnto(form.Text2, {10, 5}, &urlText));
        QCOMPARE(form.Text2->text(), QStringLiteral("/data/Q4 report.htm"));
        // Text still drops into the box as text.
        QMimeData text;
        text.setText(QStringLiteral("typed"));
        form.Text1->clear();
        QVERIFY(dropOnto(form.Text1, {10, 5}, &text));
        QCOMPARE(form.Text1->text(), QStringLiteral("typed"));
    }

    void enterInAPathBoxRunsNext_data() {
        QTest::addColumn<int>("box");
        QTest::addColumn<int>("key");
        QTest::newRow("Return in HTML File #1") << 1 << int(Qt::Key_Return);
        QTest::newRow("Enter in HTML File #2") << 2 << int(Qt::Key_Enter);
    }
    void enterInAPathBoxRunsNext() {
        QFETCH(int, box);
        QFETCH(int, key);
        FakeDesktop desktop;
        Form1 form;
        form.show();
        form.Text2->setText(QStringLiteral("/no/such.htm"));
        QTest::keyClick(box == 1 ? form.Text1 : form.Text2, Qt::Key(key));
        QCOMPARE(desktop.messages.size(), size_t{1});
        QCOMPARE(desktop.messages[0].text, QStringLiteral("HTML File #1 doesn't exist."));
    }

    void samplesReplaceBothPaths() {
        FakeDesktop desktop;
        Form1 form;
        form.Text1->setText(QStringLiteral("a"));
        form.Text2->setText(QStringLiteral("b"));
        form.PushButton1->click();
        const QString folder = desktop.applicationFolder();
        QCOMPARE(form.Text1->text(), folder + QStringLiteral("/Samples/table1.htm"));
        QCOMPARE(form.Text2->text(), folder + QStringLiteral("/Samples/table2.htm"));
    }
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
