#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <memory>

#include "fake_desktop.h"
#include "join/form2.h"
#include "platform/qt/settings_store.h"
#include "scratch_home.h"
#include "shell/form1.h"
#include "tables_on_screen.h"

using veltrano::Form1;
using veltrano::Form2;
using veltrano::platform::SettingsStore;
using veltrano::testing::FakeDesktop;
using veltrano::testing::showTables;
using veltrano::testing::storedSettings;

namespace {

// Bytes no settings file holds: every byte value, in an order that is the same every run.
QByteArray garbage() {
    QByteArray bytes;
    for (int i = 0; i < 4096; ++i) {
        bytes += static_cast<char>((i * 197 + i / 256) % 256);
    }
    return bytes;
}

// The settings file replaced by the given text (in the file's own escaping).
void storeRaw(const QByteArray& content) {
    QFile file(SettingsStore::fileName());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

}  // namespace

// The program with a settings file that is damaged, cannot be read or cannot be written: it
// starts, fills the folder box with a folder that works, joins, and says at most once what it
// cannot save.
class SettingsFaultsTest : public QObject {
    Q_OBJECT

    veltrano::testing::ScratchHome mHome;
    QString mFile;
    QTemporaryDir mDesktop;
    std::unique_ptr<FakeDesktop> mFakeDesktop;

    // The desktop the box falls back to, with one separator at the end.
    QString desktopText() const { return mDesktop.path() + QLatin1Char('/'); }

    // Starts the program as a user would, changes the folder several times (typing, picking),
    // joins into the folder, and returns the messages shown besides "Done.".
    QStringList runAndJoin(const QString& expectedBox) {
        QStringList shown;
        Form1 form1;
        showTables(form1, {{1, {{"a", "b"}}}}, {{1, {{"c"}}}});
        Form2& form = form1.form2();
        if (form.Text2->text() != expectedBox) {
            shown << QStringLiteral("box: ") + form.Text2->text().left(80);
        }
        QTest::keyClicks(form.Text2, QStringLiteral("xyz"));
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(form.Text2, Qt::Key_Backspace);
        }
        mFakeDesktop->folderAnswers = {mDesktop.path()};
        form.PushButton1->click();
        form.PushButton6->click();
        for (const auto& message : mFakeDesktop->messages) {
            if (message.text != QStringLiteral("Done.")) {
                shown << message.text;
            }
        }
        if (!QFileInfo::exists(mDesktop.filePath(QStringLiteral("joined.html")))) {
            shown << QStringLiteral("no result");
        }
        return shown;
    }

    // The one message of a run whose settings cannot be saved.
    QStringList cannotSave() const {
        return {QStringLiteral("The settings cannot be saved in ") + mFile +
                QStringLiteral(". Veltrano works on, but will not remember the output folder "
                               "next time.")};
    }

private Q_SLOTS:
    void initTestCase() { mFile = SettingsStore::fileName(); }

    void init() {
        QDir(mFile).removeRecursively();
        QFile::remove(mFile);
        const QString folder = QFileInfo(mFile).path();
        QFile::remove(folder);
        QVERIFY(QDir().mkpath(folder));
        QFile::remove(mDesktop.filePath(QStringLiteral("joined.html")));
        mFakeDesktop = std::make_unique<FakeDesktop>();
        mFakeDesktop->desktop = mDesktop.path();
    }

    void cleanup() { mFakeDesktop.reset(); }

    void theStoreNamesTheFileTheSettingsAreIn() {
        QCOMPARE(mFile, storedSettings()->fileName());
        QCOMPARE(runAndJoin(desktopText()), QStringList());
        QCOMPARE(storedSettings()->value(QStringLiteral("Text2")).toString(), desktopText());
        QVERIFY(QFileInfo(mFile).isFile());
    }

    void aFolderInPlaceOfTheFileCannotBeReadNorWritten() {
        QVERIFY(QDir().mkdir(mFile));
        QCOMPARE(runAndJoin(desktopText()), cannotSave());
    }

    void aFileInPlaceOfTheSettingsFolderLeavesNothingWritable() {
        QVERIFY(QDir(QFileInfo(mFile).path()).removeRecursively());
        QFile blocker(QFileInfo(mFile).path());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QCOMPARE(runAndJoin(desktopText()), cannotSave());
    }

    // Reading it as QSettings does would wait for a writer that never comes.
    void aNamedPipeInPlaceOfTheFileIsLeftAlone() {
        QCOMPARE(::mkfifo(QFile::encodeName(mFile).constData(), 0600), 0);
        QCOMPARE(runAndJoin(desktopText()), cannotSave());
    }

    void aFileFarTooLargeToBeOursIsLeftAlone() {
        QFile file(mFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(qint64{64} << 20));  // sparse: costs no disk
        file.close();
        QCOMPARE(runAndJoin(desktopText()), cannotSave());
    }

    // The damaged file is written anew, so nothing needs saying.
    void aCorruptFileIsReplacedByGoodSettings() {
        storeRaw(garbage());
        QCOMPARE(runAndJoin(desktopText()), QStringList());
        QCOMPARE(storedSettings()->value(QStringLiteral("Text2")).toString(), desktopText());
    }

    void aStoredFolderThatCannotBeAFolderGivesTheDesktop_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("100000 characters") << QByteArray(100000, 'a');
        QTest::newRow("newline") << QByteArray("/tmp\\n/out");
        QTest::newRow("tab") << QByteArray("/tmp/\\tout");
        QTest::newRow("escape") << QByteArray("/tmp/\\x1b[31mout");
        QTest::newRow("nul") << QByteArray("/tmp/\\0out");
        QTest::newRow("delete") << QByteArray("/tmp/\\x7fout");
        QTest::newRow("raw control bytes") << QByteArray("/tmp/\x01\x02\x03out");
    }

    void aStoredFolderThatCannotBeAFolderGivesTheDesktop() {
        QFETCH(QByteArray, stored);
        storeRaw("[Veltrano]\nText2=\"" + stored + "\"\n");
        QVERIFY(!storedSettings()->value(QStringLiteral("Text2")).toString().isEmpty());
        QCOMPARE(runAndJoin(desktopText()), QStringList());
        // The box's text replaced it.
        QCOMPARE(storedSettings()->value(QStringLiteral("Text2")).toString(), desktopText());
    }

    // The longest path the system opens is still a folder text: kept as stored.
    void aStoredFolderOfTheLongestPathIsKept() {
        const QString longest = QStringLiteral("/") + QString(4094, QLatin1Char('d'));
        storedSettings()->setValue(QStringLiteral("Text2"), longest);
        Form1 form1;
        QCOMPARE(form1.form2().Text2->text(), longest);
        QVERIFY(mFakeDesktop->messages.empty());
    }
};

QTEST_MAIN(SettingsFaultsTest)
#include "settings_faults_test.moc"
