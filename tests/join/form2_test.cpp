#include "join/form2.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QToolTip>
#include <QtTest>

#include "fake_desktop.h"
#include "join/preview_grid.h"
#include "layout_check.h"
#include "scratch_home.h"
#include "shell/form1.h"
#include "shell/twips.h"
#include "tables_on_screen.h"

using veltrano::Form1;
using veltrano::Form2;
using veltrano::PreviewGrid;
using veltrano::platform::DesktopServices;
using veltrano::testing::FakeDesktop;
using veltrano::testing::showTables;
using veltrano::testing::storedSettings;
using veltrano::testing::TestFile;

namespace {

QStringList entries(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts << list->itemText(i);
    }
    return texts;
}

QStringList row(const PreviewGrid* grid, int row) {
    QStringList texts;
    for (int column = 0; column < grid->model()->columnCount(); ++column) {
        texts << grid->model()->index(row, column).data().toString();
    }
    return texts;
}

QStringList headers(const PreviewGrid* grid) {
    QStringList texts;
    for (int column = 0; column < grid->model()->columnCount(); ++column) {
        texts << grid->model()->headerData(column, Qt::Horizontal).toString();
    }
    return texts;
}

// The platform's own desktop folder lookup, under the test's scratch home.
class RealFoldersDesktop final : public FakeDesktop {
public:
    QString desktopFolder() override { return DesktopServices::desktopFolder(); }
};

const TestFile kFile1 = {{1, {{"E-1", "Ana", "Lisbon"}, {"E-2", "Tom"}}},
                         {2, {}},
                         {3, {{"x", "y"}, {"z", "w"}, {"v", "u"}}}};
const TestFile kFile2 = {{1, {{}, {"E-1", "B2", "58,400", "2024-03-04"}}}};

}  // namespace

class Form2Test : public QObject {
    Q_OBJECT

    veltrano::testing::ScratchHome mHome;

private Q_SLOTS:
    void init() { storedSettings()->remove(QString()); }

    void controlsSitWhereTheLayoutSays() {
        FakeDesktop desktop;
        Form1 form1;
        Form2& form = form1.form2();
        const qreal dpi = form.screen()->logicalDotsPerInch();
        auto px = [dpi](int twips) { return veltrano::twipsToPixels(twips, dpi); };
        QCOMPARE(form.size(), QSize(px(8040), px(8625)));
        veltrano::testing::verifyLayout(
            form,
            {
                {form.PushButton8, &form, QStringLiteral("< Back"), {120, 120, 7800, 405}},
                {form.Frame2, &form, QStringLiteral("File #1"), {120, 600, 7800, 1275}},
                {form.Label3, form.Frame2, QStringLiteral("Table Name:"), {240, 345, 1050, 225}},
                {form.Combo1, form.Frame2, QString(), {1920, 300, 5620, 345}},
                {form.Label1, form.Frame2, QStringLiteral("Common Column:"), {240, 795, 1500, 225}},
                {form.Combo3, form.Frame2, QString(), {1920, 750, 5620, 345}},
                {form.ListView1, &form, QString(), {120, 1980, 7800, 1335}},
                {form.Frame1, &form, QStringLiteral("File #2"), {120, 3360, 7800, 1275}},
                {form.Label2, form.Frame1, QStringLiteral("Table Name:"), {240, 345, 1050, 225}},
                {form.Combo2, form.Frame1, QString(), {1920, 300, 5620, 345}},
                {form.Label4, form.Frame1, QStringLiteral("Common Column:"), {240, 795, 1500, 225}},
                {form.Combo4, form.Frame1, QString(), {1920, 750, 5620, 345}},
                {form.ListView2, &form, QString(), {120, 4740, 7800, 1335}},
                {form.Frame3, &form, QStringLiteral("Join Option"), {120, 6120, 7800, 1035}},
                {form.Option1,
                 form.Frame3,
                 QStringLiteral("Append Tables Up and Down"),
                 {240, 300, 2895, 225}},
                {form.Option2,
                 form.Frame3,
                 QStringLiteral("Join Tables Left and Right By Common Column Of Data"),
                 {240, 650, 5415, 225}},
                {form.Frame4,
                 &form,
                 QStringLiteral("Save Results To This Folder"),
                 {120, 7200, 7800, 810}},
                {form.Text2, form.Frame4, QString(), {240, 300, 6630, 345}},
                {form.PushButton1, form.Frame4, QStringLiteral("..."), {6960, 300, 600, 345}},
                {form.PushButton6, &form, QStringLiteral("Start Joining"), {120, 8120, 7800, 405}},
            });
        if (QTest::currentTestFailed()) {
            return;
        }
        // A label may grow to show its whole caption, never into the list beside it.
        for (const QLabel* label : {form.Label1, form.Label2, form.Label3, form.Label4}) {
            QVERIFY(label->geometry().right() < form.Combo1->x());
        }
        QCOMPARE(form.windowTitle(), QStringLiteral("Veltrano"));
        QVERIFY(form.Option1->isChecked());
        QVERIFY(form.Combo3->isEnabled());
        QVERIFY(form.Combo4->isEnabled());
        QCOMPARE(form.PushButton6->font().pointSizeF(), 11.25);

        const QColor face = QApplication::palette().color(QPalette::Active, QPalette::Button);
        for (QWidget* w : QList<QWidget*>{&form, form.Frame1, form.Frame2, form.Frame3, form.Frame4,
                                          form.Option1, form.Option2, form.Label1, form.Label2,
                                          form.Label3, form.Label4}) {
            QCOMPARE(w->palette().color(QPalette::Window), face);
        }
        QVERIFY(!form.Combo1->autoFillBackground());
    }

    void tabOrderFollowsTheLayout() {
        FakeDesktop desktop;
        Form1 form1;
        Form2& form = form1.form2();
        const QList<QWidget*> order = {form.Combo1,  form.Combo3,      form.ListView1,
                                       form.Combo2,  form.Combo4,      form.ListView2,
                                       form.Option1, form.PushButton6, form.PushButton8,
                                       form.Text2,   form.PushButton1};
        for (qsizetype i = 0; i + 1 < order.size(); ++i) {
            QWidget* next = order[i]->nextInFocusChain();
            while (next->focusPolicy() == Qt::NoFocus || !order.contains(next)) {
                if (next == form.Option2) {
                    break;  // reached by the arrow keys inside its group
                }
                next = next->nextInFocusChain();
            }
            if (next == form.Option2) {
                next = next->nextInFocusChain();
            }
            QCOMPARE(next, order[i + 1]);
        }
    }

    void tableChoiceReplacesOnlyItsOwnFile() {
        FakeDesktop desktop;
        Form1 form1;
        showTables(form1, kFile1, kFile2);
        Form2& form = form1.form2();
        QVERIFY(form.isVisible());
        QVERIFY(!form1.isVisible());
        QCOMPARE(entries(form.Combo1),
                 (QStringList{QStringLiteral("Table 1"), QStringLiteral("Table 3")}));
        QCOMPARE(form.Combo1->currentIndex(), 0);
        const QStringList threeColumns = {QStringLiteral("Column 1"), QStringLiteral("Column 2"),
                                          QStringLiteral("Column 3")};
        QCOMPARE(entries(form.Combo3), threeColumns);
        QCOMPARE(form.Combo3->currentIndex(), -1);
        QCOMPARE(headers(form.ListView1), threeColumns);
        QCOMPARE(form.ListView1->model()->rowCount(), 2);
        QCOMPARE(row(form.ListView1, 0), (QStringList{QStringLiteral("E-1"), QStringLiteral("Ana"),
                                                      QStringLiteral("Lisbon")}));
        QCOMPARE(row(form.ListView1, 1),
                 (QStringList{QStringLiteral("E-2"), QStringLiteral("Tom"), QString()}));
        QCOMPARE(row(form.ListView2, 0), (QStringList{QString(), QString(), QString(), QString()}));
        QCOMPARE(row(form.ListView2, 1).at(2), QStringLiteral("58,400"));

        form.Combo4->setCurrentIndex(1);
        form.Combo3->setCurrentIndex(1);
        form.Combo1->setCurrentIndex(1);  // as a user's pick
        QCOMPARE(form.ListView1->model()->rowCount(), 3);
        QCOMPARE(row(form.ListView1, 2), (QStringList{QStringLiteral("v"), QStringLiteral("u")}));
        QCOMPARE(form.Combo3->count(), 2);
        QCOMPARE(form.Combo3->currentIndex(), -1);
        // File #2 is untouched.
        QCOMPARE(form.Combo4->currentIndex(), 1);
        QCOMPARE(form.ListView2->model()->rowCount(), 2);
        QVERIFY(desktop.messages.empty());
    }

    void gridModelBehavesAsAModel() {
        FakeDesktop desktop;
        Form1 form1;
        showTables(form1, kFile1, kFile2);
        Form2& form = form1.form2();
        QAbstractItemModelTester tester(form.ListView1->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        form.Combo1->setCurrentIndex(1);
        form.Combo1->setCurrentIndex(0);
        QVERIFY(!form.ListView1->model()->index(5, 0).isValid());
        QVERIFY(!form.ListView1->model()->headerData(9, Qt::Horizontal).isValid());
    }

    void aFileWithoutTablesLeavesNothingOfTheOldOneToJoin() {
        FakeDesktop desktop;
        QTemporaryDir output;
        Form1 form1;
        showTables(form1, kFile1, kFile2);
        Form2& form = form1.form2();
        form.Combo4->setCurrentIndex(1);
        showTables(form1, {{1, {{"new"}}}}, {{4, {}}});
        QCOMPARE(row(form.ListView1, 0), (QStringList{QStringLiteral("new")}));
        QCOMPARE(form.Combo2->count(), 0);
        QCOMPARE(form.Combo2->currentIndex(), -1);
        QCOMPARE(form.Combo4->count(), 0);
        QCOMPARE(form.ListView2->model()->rowCount(), 0);
        QCOMPARE(form.ListView2->model()->columnCount(), 0);

        form.Text2->setText(output.path());
        form.PushButton6->click();
        QCOMPARE(desktop.messages.back().text, QStringLiteral("Done."));
        QFile joined(output.filePath(QStringLiteral("joined.html")));
        QVERIFY(joined.open(QIODevice::ReadOnly));
        QCOMPARE(joined.readAll(),
                 QByteArray("<html><title>Join Results</title><body><table border=1>\r\n"
                            "<tr>\r\n<td>new</td>\r\n</tr>\r\n</table></body></html>"));
    }

    void aCutOffCellShowsItsWholeTextAsATooltip() {
        FakeDesktop desktop;
        Form1 form1;
        const std::string wide = "Smith & <Sons> " + std::string(200, 'x');
        showTables(form1, {{1, {{"short", wide, "two\nlines", std::string(9000, 'y')}}}}, {});
        Form2& form = form1.form2();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        PreviewGrid* grid = form.ListView1;
        const auto cell = [grid](int column) { return grid->model()->index(0, column); };
        QCOMPARE(grid->cellToolTip(cell(0)), QString());
        QCOMPARE(grid->cellToolTip(cell(1)), QString::fromStdString(wide));
        QCOMPARE(grid->cellToolTip(cell(2)), QStringLiteral("two\nlines"));
        QCOMPARE(grid->cellToolTip(cell(3)),
                 QString(PreviewGrid::kToolTipLength, QLatin1Char('y')) + QChar(0x2026));

        // Through the tooltip event, as the mouse rests on the cell: its text, not markup.
        const QPoint at = grid->visualRect(cell(1)).center();
        QHelpEvent help(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(grid->viewport(), &help);
        QVERIFY(QToolTip::isVisible());
        QVERIFY(QToolTip::text().contains(QStringLiteral("Smith &amp; &lt;Sons&gt; xxx")));
        QToolTip::hideText();

        // A column wide enough shows the whole text, so there is no tooltip.
        grid->setColumnWidth(
            1, grid->fontMetrics().horizontalAdvance(QString::fromStdString(wide)) + 20);
        QCOMPARE(grid->cellToolTip(cell(1)), QString());
    }

    void ctrlCCopiesTheSelectedRowsAsTabSeparatedText() {
        FakeDesktop desktop;
        Form1 form1;
        showTables(form1, {{1, {{"E-1", "Ana", "Lisbon"}, {"E-2", "Tom\tNowak"}, {"E-3", "Li"}}}},
                   {});
        Form2& form = form1.form2();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        PreviewGrid* grid = form.ListView1;
        const auto rowAt = [grid](int row) {
            return grid->visualRect(grid->model()->index(row, 0)).center();
        };
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        grid->setFocus();
        QTest::keySequence(grid, QKeySequence::Copy);  // nothing selected yet
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));

        // The last row first, then the first with Ctrl: copied in grid order.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowAt(2));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier, rowAt(0));
        QTest::keySequence(grid, QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("E-1\tAna\tLisbon\nE-3\tLi\t\n"));

        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rowAt(0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, rowAt(1));
        QTest::keySequence(grid, QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("E-1\tAna\tLisbon\nE-2\tTom Nowak\t\n"));
    }

    void modeChoiceEnablesTheColumnLists() {
        FakeDesktop desktop;
        Form1 form1;
        showTables(form1, kFile1, kFile2);
        Form2& form = form1.form2();
        form.Combo3->setCurrentIndex(1);
        QTest::mouseClick(form.Option1, Qt::LeftButton);
        QVERIFY(!form.Combo3->isEnabled());
        QVERIFY(!form.Combo4->isEnabled());
        QTest::mouseClick(form.Option2, Qt::LeftButton);
        QVERIFY(form.Option2->isChecked());
        QVERIFY(form.Combo3->isEnabled());
        QVERIFY(form.Combo4->isEnabled());
        QCOMPARE(form.Combo3->currentIndex(), 1);  // kept while disabled
        QTest::mouseClick(form.Option1, Qt::LeftButton);
        QVERIFY(!form.Combo3->isEnabled());
        QCOMPARE(form.Combo3->currentIndex(), 1);
    }

    void backKeepsEverything() {
        FakeDesktop desktop;
        Form1 form1;
        form1.show();
        showTables(form1, kFile1, kFile2);
        Form2& form = form1.form2();
        form.Combo1->setCurrentIndex(1);
        form.Combo4->setCurrentIndex(2);
        form.Option2->click();
        form.Text2->setText(QStringLiteral("/tmp/out/"));
        form.PushButton8->click();
        QVERIFY(form1.isVisible());
        QVERIFY(!form.isVisible());
        QCOMPARE(form.Combo1->currentIndex(), 1);
        QCOMPARE(form.Combo4->currentIndex(), 2);
        QVERIFY(form.Option2->isChecked());
        QCOMPARE(form.ListView1->model()->rowCount(), 3);
        QCOMPARE(form.Text2->text(), QStringLiteral("/tmp/out/"));
        QCOMPARE(form.mStore.mColRows1->count(), 2U);
        QCOMPARE(desktop.endProgramCalls, 0);
    }

    void escapeGoesBackFromAnyControl() {
        FakeDesktop desktop;
        Form1 form1;
        form1.show();
        showTables(form1, kFile1, kFile2);
        Form2& form = form1.form2();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        for (QWidget* control :
             QList<QWidget*>{form.Combo1, form.ListView1, form.Option1, form.Text2}) {
            form1.hide();
            form.show();
            QVERIFY(QTest::qWaitForWindowActive(&form));
            control->setFocus();
            QTest::keyClick(control, Qt::Key_Escape);
            QVERIFY2(form1.isVisible(), qPrintable(control->objectName()));
            QVERIFY(!form.isVisible());
        }
        QCOMPARE(form.Combo1->currentIndex(), 0);  // nothing cleared, as with "< Back"
        QCOMPARE(desktop.endProgramCalls, 0);
    }

    void closingEndsTheProgram() {
        FakeDesktop desktop;
        Form1 form1;
        showTables(form1, kFile1, kFile2);
        form1.form2().close();
        QCOMPARE(desktop.endProgramCalls, 1);
    }

    void outputFolderStartsAtTheDesktopAndIsWrittenBack() {
        FakeDesktop desktop;
        Form1 form1;
        Form2& form = form1.form2();
        QCOMPARE(form.Text2->text(), QStringLiteral("/home/user/Desktop/"));
        QCOMPARE(storedSettings()->value(QStringLiteral("Text2")).toString(),
                 QStringLiteral("/home/user/Desktop/"));
        // Every change is stored at once.
        QTest::keyClicks(form.Text2, QStringLiteral("ab"));
        QCOMPARE(storedSettings()->value(QStringLiteral("Text2")).toString(),
                 QStringLiteral("/home/user/Desktop/ab"));
    }

    void aFirstRunWithoutDesktopFolderJoinsIntoTheHomeFolder() {
        RealFoldersDesktop desktop;
        const QString home = QDir::homePath() + QLatin1Char('/');
        QVERIFY(!QFileInfo::exists(home + QStringLiteral("Desktop")));
        Form1 form1;
        showTables(form1, kFile1, kFile2);
        Form2& form = form1.form2();
        QCOMPARE(form.Text2->text(), home);
        form.PushButton6->click();
        QCOMPARE(desktop.messages.size(), size_t{1});
        QCOMPARE(desktop.messages[0].text, QStringLiteral("Done."));
        QVERIFY(QFile::remove(home + QStringLiteral("joined.html")));
    }

    void aStoredEmptyFolderStaysEmpty() {
        storedSettings()->setValue(QStringLiteral("Text2"), QString());
        FakeDesktop desktop;
        Form1 form1;
        QCOMPARE(form1.form2().Text2->text(), QString());
        QVERIFY(storedSettings()->contains(QStringLiteral("Text2")));
    }

    void aFailedDesktopLookupIsReportedAtLine112() {
        storedSettings()->setValue(QStringLiteral("Text2"), QStringLiteral("/stored/"));
        FakeDesktop desktop;
        desktop.desktop.clear();
        Form1 form1;
        Form2& form = form1.form2();
        QCOMPARE(form.Text2->text(), QString());
        QCOMPARE(desktop.messages.size(), size_t{1});
        QVERIFY(desktop.messages[0].text.startsWith(QStringLiteral(
            "Invalid procedure call or argument\r\nin Veltrano2021/08/31.Form2.Form_Load at line "
            "112\r\r")));
    }

    void aDamagedPointerFileIsReportedAtLine110() {
        FakeDesktop desktop;
        desktop.addBesideProgram(QStringLiteral("HAND-M.CUR"), "broken");
        Form1 form1;  // reports its own line 108 first
        Form2& form = form1.form2();
        QCOMPARE(desktop.messages.size(), size_t{2});
        QVERIFY(desktop.messages[1].text.contains(
            QStringLiteral("in Veltrano2021/08/31.Form2.Form_Load at line 110\r\r")));
        QCOMPARE(form.Text2->text(), QStringLiteral("/home/user/Desktop/"));
    }

    void pickingAFolderGivesExactlyOneSeparator() {
        FakeDesktop desktop;
        Form1 form1;
        Form2& form = form1.form2();
        form.Text2->setText(QStringLiteral("typed"));
        form.PushButton1->click();  // cancelled
        QCOMPARE(form.Text2->text(), QStringLiteral("typed"));
        QCOMPARE(storedSettings()->value(QStringLiteral("Text2")).toString(),
                 QStringLiteral("typed"));
        QVERIFY(!storedSettings()->contains(QStringLiteral("LastFolderDot")));

        struct Pick {
            QString picked;
            QString box;
        };
        for (const Pick& pick : {Pick{QStringLiteral("/"), QStringLiteral("/")},
                                 Pick{QStringLiteral("/data/out"), QStringLiteral("/data/out/")}}) {
            desktop.folderAnswers = {pick.picked};
            form.PushButton1->click();
            QCOMPARE(form.Text2->text(), pick.box);
            QCOMPARE(storedSettings()->value(QStringLiteral("Text2")).toString(), pick.box);
            QCOMPARE(storedSettings()->value(QStringLiteral("LastFolderDot")).toString(),
                     pick.picked);
        }
        QCOMPARE(desktop.folderTitles.first(), QStringLiteral("Save To This Folder"));
        QVERIFY(desktop.messages.empty());
    }
};

QTEST_MAIN(Form2Test)
#include "form2_test.moc"
