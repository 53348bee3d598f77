#include "tables/extraction_command.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <thread>

#include "fake_desktop.h"
#include "join/form2.h"
#include "join/preview_grid.h"
#include "platform/failure.h"
#include "platform/file_system.h"
#include "platform/qt/progress_display.h"
#include "shell/form1.h"

using veltrano::Form1;
using veltrano::Form2;
using veltrano::testing::FakeDesktop;

namespace {

QString data(const char* name) {
    return QStringLiteral(VELTRANO_TEST_DATA "/") + QLatin1String(name);
}

QStringList entries(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts << list->itemText(i);
    }
    return texts;
}

QString cell(const veltrano::PreviewGrid* grid, int row, int column) {
    return grid->model()->index(row, column).data().toString();
}

// The real file system, with reads that can fail or take their time.
class ScriptedFileSystem final : public veltrano::platform::FileSystem {
public:
    bool canQueryModificationTime(const std::string& path) override {
        return real().canQueryModificationTime(path);
    }
    bool isDirectory(const std::string& path) override { return real().isDirectory(path); }
    std::string readFile(const std::string& path, std::uint64_t maxBytes) override {
        ++reads;
        if (!failingPath.empty() && path.ends_with(failingPath)) {
            throw veltrano::Failure("Input/output error");
        }
        std::this_thread::sleep_for(readDelay);
        ++finishedReads;
        return real().readFile(path, maxBytes);
    }
    std::string writeNewTemporaryFile(const std::string& folder, std::string_view prefix,
                                      std::string_view bytes) override {
        return real().writeNewTemporaryFile(folder, prefix, bytes);
    }
    void replaceFile(const std::string& from, const std::string& to) override {
        real().replaceFile(from, to);
    }
    bool removeFile(const std::string& path) override { return real().removeFile(path); }

    std::atomic<int> reads = 0;
    std::atomic<int> finishedReads = 0;
    std::string failingPath;
    std::chrono::milliseconds readDelay{0};

private:
    static FileSystem& real() { return veltrano::platform::realFileSystem(); }
};

// A progress display that presses Cancel as soon as it is shown.
class CancellingDisplay final : public veltrano::platform::ProgressDisplay {
public:
    void setPercent(int) override {}
    bool wasCancelled() const override { return true; }
};

class CancellingDesktop final : public veltrano::testing::FakeDesktop {
public:
    std::unique_ptr<veltrano::platform::ProgressDisplay> showProgress(QWidget*,
                                                                      const QString&) override {
        ++progressShown;
        return std::make_unique<CancellingDisplay>();
    }
    int progressShown = 0;
};

}  // namespace

class ExtractionCommandTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void missingFilesStopTheCommandWithOneMessage_data() {
        QTest::addColumn<QString>("file1");
        QTest::addColumn<QString>("file2");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("reads");
        QTest::newRow("file #1 empty")
            << QString() << data("pay.html") << QStringLiteral("HTML File #1 doesn't exist.") << 0;
        QTest::newRow("both missing")
            << QStringLiteral("/no/such.htm") << QStringLiteral("/no/other.htm")
            << QStringLiteral("HTML File #1 doesn't exist.") << 0;
        QTest::newRow("file #2 missing") << data("staff.htm") << QStringLiteral("/no/such.htm")
                                         << QStringLiteral("HTML File #2 doesn't exist.") << 0;
    }
    void missingFilesStopTheCommandWithOneMessage() {
        QFETCH(QString, file1);
        QFETCH(QString, file2);
        QFETCH(QString, message);
        QFETCH(int, reads);
        FakeDesktop desktop;
        ScriptedFileSystem files;
        veltrano::platform::ScopedFileSystem installed(files);
        Form1 form;
        form.show();
        form.Text1->setText(file1);
        form.Text2->setText(file2);
        form.PushButton7->click();
        QCOMPARE(desktop.messages.size(), size_t{1});
        QCOMPARE(desktop.messages[0].text, message);
        QCOMPARE(desktop.messages[0].title, QStringLiteral("Veltrano"));
        QCOMPARE(desktop.messages[0].icon, QMessageBox::NoIcon);
        QCOMPARE(files.reads.load(), reads);
        QVERIFY(!form.hasForm2());
        QVERIFY(form.isVisible());
    }

    void readsBothFilesIntoTheJoinSetupWindow() {
        FakeDesktop desktop;
        Form1 form;
        form.show();
        form.Text1->setText(data("staff.htm"));
        form.Text2->setText(data("pay.html"));
        form.PushButton7->click();
        QVERIFY(desktop.messages.empty());
        Form2& form2 = form.form2();
        QVERIFY(form2.isVisible());
        QVERIFY(!form.isVisible());
        QCOMPARE(entries(form2.Combo1),
                 (QStringList{QStringLiteral("Table 1"), QStringLiteral("Table 3")}));
        QCOMPARE(form2.Combo1->currentIndex(), 0);
        QCOMPARE(form2.ListView1->model()->rowCount(), 3);  // the th row is row 1, empty
        QCOMPARE(cell(form2.ListView1, 0, 0), QString());
        QCOMPARE(cell(form2.ListView1, 1, 1), QStringLiteral("Ana Ribeiro"));
        QCOMPARE(cell(form2.ListView1, 2, 1), QStringLiteral("Tom\u00a0Nowak\nGdańsk"));
        QCOMPARE(entries(form2.Combo4).size(), 2);
        QCOMPARE(cell(form2.ListView2, 2, 1), QStringLiteral("69,900"));
        QCOMPARE(form2.mStore.mColRows1->count(), 2U);
        QCOMPARE(form2.mStore.mDicColumns1->item({3, 1, 2}), std::string_view("row"));
    }

    void aFileWithoutTablesStillShowsTheWindow() {
        FakeDesktop desktop;
        Form1 form;
        form.Text1->setText(data("pay.html"));
        form.Text2->setText(data("notes.txt"));
        form.PushButton7->click();
        Form2& form2 = form.form2();
        QVERIFY(form2.isVisible());
        QCOMPARE(form2.Combo2->count(), 0);
        QCOMPARE(form2.Combo2->currentIndex(), -1);
        QCOMPARE(form2.mStore.mColRows2->count(), 0U);
    }

    void runningAgainAfterBackHoldsOnlyTheNewFiles() {
        FakeDesktop desktop;
        Form1 form;
        form.Text1->setText(data("staff.htm"));
        form.Text2->setText(data("staff.htm"));
        form.PushButton7->click();
        Form2& form2 = form.form2();
        QCOMPARE(form2.Combo2->count(), 2);
        form2.PushButton8->click();
        QVERIFY(form.isVisible());
        form.Text1->setText(data("pay.html"));
        form.Text2->setText(data("pay.html"));
        form.PushButton7->click();
        QCOMPARE(entries(form2.Combo1), QStringList{QStringLiteral("Table 1")});
        QCOMPARE(entries(form2.Combo2), QStringList{QStringLiteral("Table 1")});
        QCOMPARE(cell(form2.ListView1, 0, 0), QStringLiteral("E-1"));
        QVERIFY(!form2.mStore.mDicColumns1->exists({3, 1, 0}));
        QVERIFY(desktop.messages.empty());
    }

    void anUnreadableFileIsReportedAndChangesNothing_data() {
        QTest::addColumn<QString>("file1");
        QTest::addColumn<QString>("file2");
        QTest::addColumn<QString>("report");
        QTest::newRow("file #1 is a folder")
            << QStringLiteral(VELTRANO_TEST_DATA) << data("pay.html")
            << QStringLiteral(
                   "Is a directory\r\nin Veltrano2021/08/31.Form1.PushButton7_Click "
                   "at line 104\r\r");
        QTest::newRow("file #2 cannot be read")
            << data("staff.htm") << data("pay.html")
            << QStringLiteral(
                   "Input/output error\r\nin Veltrano2021/08/31.Form1.PushButton7_Click "
                   "at line 158\r\r");
    }
    void anUnreadableFileIsReportedAndChangesNothing() {
        QFETCH(QString, file1);
        QFETCH(QString, file2);
        QFETCH(QString, report);
        FakeDesktop desktop;
        ScriptedFileSystem files;
        files.failingPath = "pay.html";
        veltrano::platform::ScopedFileSystem installed(files);
        Form1 form;
        form.show();
        form.Text1->setText(file1);
        form.Text2->setText(file2);
        form.PushButton7->click();
        QCOMPARE(desktop.messages.size(), size_t{1});
        QVERIFY2(desktop.messages[0].text.startsWith(report), qPrintable(desktop.messages[0].text));
        QCOMPARE(desktop.messages[0].title, QStringLiteral("Application Error"));
        QVERIFY(!form.hasForm2());
        QVERIFY(form.isVisible());
    }

    void anUnreadableFileIsReportedWithoutWaitingForTheOther() {
        FakeDesktop desktop;
        ScriptedFileSystem files;
        files.failingPath = "pay.html";
        files.readDelay = std::chrono::milliseconds(1500);
        veltrano::platform::ScopedFileSystem installed(files);
        Form1 form;
        form.show();
        form.Text1->setText(data("pay.html"));
        form.Text2->setText(data("staff.htm"));
        form.PushButton7->click();
        QCOMPARE(files.finishedReads.load(), 0);  // file #2 was still being read
        QCOMPARE(desktop.messages.size(), size_t{1});
        QVERIFY(desktop.messages[0].text.contains(QStringLiteral("at line 104\r\r")));
        QVERIFY(!form.hasForm2());
    }

    void aSlowLoadShowsProgressAndCancellingChangesNothing() {
        CancellingDesktop desktop;
        ScriptedFileSystem files;
        files.readDelay = std::chrono::milliseconds(900);
        veltrano::platform::ScopedFileSystem installed(files);
        Form1 form;
        form.show();
        form.Text1->setText(data("staff.htm"));
        form.Text2->setText(data("pay.html"));
        // A click on the samples button while the files load is refused.
        QTimer::singleShot(100, &form, [&] { form.PushButton1->click(); });
        form.PushButton7->click();
        QCOMPARE(desktop.progressShown, 1);
        QVERIFY(desktop.messages.empty());
        QVERIFY(!form.hasForm2());
        QVERIFY(form.isVisible());
        QCOMPARE(form.Text1->text(), data("staff.htm"));
    }
};

QTEST_MAIN(ExtractionCommandTest)
#include "extraction_command_test.moc"
