#include "shell/application_font.h"

#include <QFileDialog>
#include <QFontInfo>
#include <QMessageBox>
#include <QtTest>

#include "scratch_home.h"

// Also run with a font configuration of a bare machine, whose only fonts are fonts-liberation's:
// there the platform's default font is a fixed-pitch one.
class ApplicationFontTest : public QObject {
    Q_OBJECT

    veltrano::testing::ScratchHome mHome;  // a file dialog keeps its state in the settings

private Q_SLOTS:
    void aFixedPitchFontGivesWayToAProportionalOneOfTheSameSize() {
        QFont fixed(QStringLiteral("Liberation Mono"));
        fixed.setPointSizeF(10.5);
        QVERIFY(QFontInfo(fixed).fixedPitch());
        const QFont font = veltrano::proportionalFont(fixed);
        QVERIFY(!QFontInfo(font).fixedPitch());
        QCOMPARE(font.pointSizeF(), 10.5);

        const QFont proportional(QStringLiteral("Liberation Serif"), 12);
        QCOMPARE(veltrano::proportionalFont(proportional), proportional);
    }

    void messageBoxesAndFileDialogsAreProportional() {
        const bool bareMachine = qEnvironmentVariableIsSet("FONTCONFIG_FILE");
        if (bareMachine) {
            // The fault this guards against shows here at all.
            QVERIFY(QFontInfo(QApplication::font()).fixedPitch());
        }
        veltrano::useProportionalDefaultFont();
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Veltrano"), QStringLiteral("Done."));
        QVERIFY(!QFontInfo(box.font()).fixedPitch());
        QFileDialog dialog;
        QVERIFY(!QFontInfo(dialog.font()).fixedPitch());
    }
};

QTEST_MAIN(ApplicationFontTest)
#include "application_font_test.moc"
