#include "tables/extraction_command.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <utility>

#include "fake_desktop.h"
#include "forwarding_file_system.h"
#include "join/form2.h"
#include "join/preview_grid.h"
#include "platform/failure.h"
#include "platform/file_system.h"
#include "platform/qt/progress_display.h"
#include "scratch_folder.h"
#include "scratch_home.h"
#include "shell/form1.h"
#include "tables/extraction.h"

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

// A gate that holds back whoever waits at it until the test opens it.
class Gate final {
public:
    void wait() {
        std::unique_lock lock(mMutex);
        mOpened.wait(lock, [this] { return mOpen; });
    }
    void open() {
        {
            const std::lock_guard lock(mMutex);
            mOpen = true;
        }
        mOpened.notify_all();
    }

private:
    std::mutex mMutex;
    std::condition_variable mOpened;
    bool mOpen = false;
};

// Opens the gate when the test ends, before the window waits for the reads it holds back.
class OpenOnExit final {
public:
    explicit OpenOnExit(Gate& gate) : mGate(gate) {}
    ~OpenOnExit() { mGate.open(); }
    OpenOnExit(const OpenOnExit&) = delete;
    OpenOnExit& operator=(const OpenOnExit&) = delete;

private:
    Gate& mGate;
};

// Files that cannot be read as documents, made in a scratch folder.
class UnreadableFiles final {
public:
    QString pipe() const {
        return made("pipe.htm",
                    [](const std::string& path) { return ::mkfifo(path.c_str(), 0600) == 0; });
    }
    // A socket's file stays once the socket is closed.
    QString socket() const {
        return made("socket.htm", [](const std::string& path) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
            const bool bound =
                ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
            ::close(fd);
            return bound;
        });
    }
    // Sparse: it costs no disk.
    QString overTheSizeLimit() const {
        return made("large.htm", [](const std::string& path) {
            std::ofstream(path) << "<table><tr><td>x</table>";
            std::filesystem::resize_file(path, veltrano::kMaximumFileBytes + 1);
            return true;
        });
    }
    QString linkLoop() const {
        return made("loop.htm", [](const std::string& path) {
            std::filesystem::create_symlink(path + ".other", path);
            std::filesystem::create_symlink(path, path + ".other");
            return true;
        });
    }
    QString nestedTables(int depth) const {
        return made("nested.htm", [depth](const std::string& path) {
            std::ofstream out(path);
            for (int i = 0; i < depth; ++i) {
                out << "<table><tr><td>";
            }
            for (int i = 0; i < depth; ++i) {
                out << "</td></tr></table>";
            }
            return true;
        });
    }

private:
    template <class Make>
    QString made(const char* name, Make make) const {
        const std::string path = (mFolder / name).string();
        if (!std::filesystem::exists(std::filesystem::symlink_status(path)) && !make(path)) {
            qFatal("cannot make %s", path.c_str());
        }
        return QString::fromStdString(path);
    }

    veltrano::testing::ScratchFolder mFolder;
};

// The real file system, with reads that can fail or be held back at a gate.
class ScriptedFileSystem final : public veltrano::ForwardingFileSystem {
public:
    std::string readFile(const std::string& path, std::uint64_t maxBytes) override {
        ++reads;
        if (!failingPath.empty() && path.ends_with(failingPath)) {
            throw veltrano::Failure("Input/output error");
        }
        if (!vanishingPath.empty() && path.ends_with(vanishingPath)) {
            std::filesystem::remove(path);
        }
        if (holdReads) {
            gate.wait();
        }
        ++finishedReads;
        return real().readFile(path, maxBytes);
    }
    std::atomic<int> reads = 0;
    std::atomic<int> finishedReads = 0;
    std::string failingPath;
    std::string vanishingPath;  // removed after the existence test, before its read
    bool holdReads = false;     // set before the reads start
    Gate gate;
};

// A progress display that presses Cancel at once; before that it may do what a user could
// do while the files are read.
class CancellingDisplay final : public veltrano::platform::ProgressDisplay {
public:
    explicit CancellingDisplay(std::function<void()> meanwhile)
        : mMeanwhile(std::move(meanwhile)) {}
    void setPercent(int) override {
        if (mMeanwhile) {
            std::exchange(mMeanwhile, nullptr)();
        }
    }
    bool wasCancelled() const override { return !mMeanwhile; }

private:
    std::function<void()> mMeanwhile;
};

class CancellingDesktop final : public veltrano::testing::FakeDesktop {
public:
    std::unique_ptr<veltrano::platform::ProgressDisplay> showProgress(QWidget*,
                                                                      const QString&) override {
        ++progressShown;
        return std::make_unique<CancellingDisplay>(meanwhile);
    }
    int progressShown = 0;
    std::function<void()> meanwhile;
};

}  // namespace

class ExtractionCommandTest : public QObject {
    Q_OBJECT

    veltrano::testing::ScratchHome mHome;
    UnreadableFiles mUnreadable;

private Q_SLOTS:
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
        // A link that leads back to itself names no file.
        QTest::newRow("file #1 is a link loop")
            << mUnreadable.linkLoop() << data("staff.htm")
            << QStringLiteral("HTML File #1 doesn't exist.") << 0;
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

    void aFileWithoutTablesStillShowsTheWindowWithNothingOfTheOldFile() {
        FakeDesktop desktop;
        Form1 form;
        form.Text1->setText(data("staff.htm"));
        form.Text2->setText(data("staff.htm"));
        form.PushButton7->click();
        Form2& form2 = form.form2();
        QCOMPARE(form2.ListView2->model()->rowCount(), 3);
        form2.PushButton8->click();

        form.Text1->setText(data("pay.html"));
        form.Text2->setText(data("notes.txt"));
        form.PushButton7->click();
        QVERIFY(form2.isVisible());
        QCOMPARE(form2.Combo2->count(), 0);
        QCOMPARE(form2.Combo2->currentIndex(), -1);
        QCOMPARE(form2.mStore.mColRows2->count(), 0U);
        QCOMPARE(form2.Combo4->count(), 0);
        QCOMPARE(form2.ListView2->model()->rowCount(), 0);
        QCOMPARE(form2.ListView2->model()->columnCount(), 0);
        QCOMPARE(cell(form2.ListView1, 0, 0), QStringLiteral("E-1"));
        QVERIFY(desktop.messages.empty());
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
        const auto notRegular = [](const char* kind, int line) {
            return QStringLiteral(
                       "This is %1, not a regular file, so it cannot be read as a "
                       "document.\r\nin Veltrano2021/08/31.Form1.PushButton7_Click "
                       "at line %2\r\r")
                .arg(QLatin1String(kind))
                .arg(line);
        };
        QTest::newRow("file #1 is a named pipe")
            << mUnreadable.pipe() << data("staff.htm") << notRegular("a named pipe", 104);
        QTest::newRow("file #2 is a named pipe")
            << data("staff.htm") << mUnreadable.pipe() << notRegular("a named pipe", 158);
        QTest::newRow("file #1 is a socket")
            << mUnreadable.socket() << data("staff.htm") << notRegular("a socket", 104);
        QTest::newRow("file #1 is /dev/zero")
            << QStringLiteral("/dev/zero") << data("staff.htm") << notRegular("a device", 104);
        QTest::newRow("file #2 is /dev/null")
            << data("staff.htm") << QStringLiteral("/dev/null") << notRegular("a device", 158);
        QTest::newRow("file #2 is one byte over the size limit")
            << data("staff.htm") << mUnreadable.overTheSizeLimit()
            << QStringLiteral(
                   "The file is too large to read (1073741825 bytes; at most 1073741824 bytes "
                   "are read).\r\nin Veltrano2021/08/31.Form1.PushButton7_Click at line 158\r\r");
        QTest::newRow("file #2 holds 1,000 nested tables")
            << data("staff.htm") << mUnreadable.nestedTables(1000)
            << QStringLiteral("The tables of this file are too large to show: ");
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

    // Between the existence test and the read, as another program may do.
    void aFileThatDisappearsBeforeItIsReadIsReportedUnderItsOwnLine() {
        FakeDesktop desktop;
        const veltrano::testing::ScratchFolder folder;
        const std::string vanishing = (folder / "vanishing.htm").string();
        std::filesystem::copy_file(data("pay.html").toStdString(), vanishing);
        ScriptedFileSystem files;
        files.vanishingPath = vanishing;
        veltrano::platform::ScopedFileSystem installed(files);
        Form1 form;
        form.show();
        form.Text1->setText(data("staff.htm"));
        form.Text2->setText(QString::fromStdString(vanishing));
        form.PushButton7->click();
        QCOMPARE(desktop.messages.size(), size_t{1});
        QVERIFY2(desktop.messages[0].text.startsWith(QStringLiteral(
                     "No such file or directory\r\nin Veltrano2021/08/31.Form1.PushButton7_Click "
                     "at line 158\r\r")),
                 qPrintable(desktop.messages[0].text));
        QVERIFY(!form.hasForm2());
    }

    // The lists and grids of the last "Next >" stay as they were, as after any failed read.
    void tablesTooLargeToShowLeaveTheJoinSetupWindowAsItWas() {
        FakeDesktop desktop;
        Form1 form;
        form.show();
        form.Text1->setText(data("staff.htm"));
        form.Text2->setText(data("pay.html"));
        form.PushButton7->click();
        Form2& form2 = form.form2();
        form2.PushButton8->click();
        QVERIFY(desktop.messages.empty());

        form.Text1->setText(mUnreadable.nestedTables(1000));
        form.Text2->setText(data("staff.htm"));
        form.PushButton7->click();
        QCOMPARE(desktop.messages.size(), size_t{1});
        QVERIFY2(desktop.messages[0].text.startsWith(
                     QStringLiteral("The tables of this file are too large to show: ")),
                 qPrintable(desktop.messages[0].text));
        QVERIFY(desktop.messages[0].text.contains(QStringLiteral("at line 104\r\r")));
        QVERIFY(form.isVisible());
        QVERIFY(!form2.isVisible());
        QCOMPARE(entries(form2.Combo1),
                 (QStringList{QStringLiteral("Table 1"), QStringLiteral("Table 3")}));
        QCOMPARE(entries(form2.Combo2), QStringList{QStringLiteral("Table 1")});
        QCOMPARE(cell(form2.ListView1, 1, 1), QStringLiteral("Ana Ribeiro"));
        QCOMPARE(cell(form2.ListView2, 2, 1), QStringLiteral("69,900"));
        QCOMPARE(form2.mStore.mColRows1->count(), 2U);
    }

    void anUnreadableFileIsReportedWithoutWaitingForTheOther() {
        FakeDesktop desktop;
        ScriptedFileSystem files;
        files.failingPath = "pay.html";
        files.holdReads = true;  // file #2 is never read to its end meanwhile
        veltrano::platform::ScopedFileSystem installed(files);
        Form1 form;
        const OpenOnExit release(files.gate);
        form.show();
        form.Text1->setText(data("pay.html"));
        form.Text2->setText(data("staff.htm"));
        form.PushButton7->click();
        QCOMPARE(files.finishedReads.load(), 0);
        QCOMPARE(desktop.messages.size(), size_t{1});
        QVERIFY(desktop.messages[0].text.contains(QStringLiteral("at line 104\r\r")));
        QVERIFY(!form.hasForm2());
    }

    void cancellingWhileTheFilesAreReadChangesNothing() {
        CancellingDesktop desktop;
        ScriptedFileSystem files;
        files.holdReads = true;
        veltrano::platform::ScopedFileSystem installed(files);
        Form1 form;
        const OpenOnExit release(files.gate);
        form.show();
        form.Text1->setText(data("staff.htm"));
        form.Text2->setText(data("pay.html"));
        // The samples button while the files are read: refused.
        desktop.meanwhile = [&] { form.PushButton1->click(); };
        form.PushButton7->click();
        QCOMPARE(desktop.progressShown, 1);
        QCOMPARE(files.finishedReads.load(), 0);
        QVERIFY(desktop.messages.empty());
        QVERIFY(!form.hasForm2());
        QVERIFY(form.isVisible());
        QCOMPARE(form.Text1->text(), data("staff.htm"));
    }
};

QTEST_MAIN(ExtractionCommandTest)
#include "extraction_command_test.moc"
