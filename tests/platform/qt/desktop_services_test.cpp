#include "platform/qt/desktop_services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "scratch_home.h"

using veltrano::platform::DesktopServices;

class DesktopServicesTest : public QObject {
    Q_OBJECT

    veltrano::testing::ScratchHome mHome;

private Q_SLOTS:
    // Qt's test mode skips the user's folder names; the scratch home keeps the real ones away.
    void initTestCase() { QStandardPaths::setTestModeEnabled(false); }

    void desktopFolderIsTheHomeFolderWhereThereIsNone_data() {
        QTest::addColumn<QString>("userDirs");  // the line of user-dirs.dirs, if any
        QTest::addColumn<QString>("made");      // the folder made below home, if any
        QTest::addColumn<QString>("expected");  // below home; "." is home itself
        QTest::newRow("no desktop folder") << QString() << QString() << QStringLiteral(".");
        QTest::newRow("the usual desktop folder")
            << QString() << QStringLiteral("Desktop") << QStringLiteral("Desktop");
        QTest::newRow("a desktop folder of another name")
            << QStringLiteral("XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"")
            << QStringLiteral("Schreibtisch") << QStringLiteral("Schreibtisch");
        QTest::newRow("a named desktop folder that is missing")
            << QStringLiteral("XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"") << QStringLiteral("Desktop")
            << QStringLiteral(".");
        QTest::newRow("a file where the desktop folder should be")
            << QString() << QStringLiteral("Desktop=file") << QStringLiteral(".");
    }
    void desktopFolderIsTheHomeFolderWhereThereIsNone() {
        QFETCH(QString, userDirs);
        QFETCH(QString, made);
        QFETCH(QString, expected);
        const QDir home(mHome.path());
        const QString userDirsFile =
            qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/user-dirs.dirs");
        QFile::remove(userDirsFile);
        for (const QString& name : {QStringLiteral("Desktop"), QStringLiteral("Schreibtisch")}) {
            QFile::remove(home.filePath(name));
            QDir(home.filePath(name)).removeRecursively();
        }
        if (!userDirs.isEmpty()) {
            QVERIFY(QDir().mkpath(QFileInfo(userDirsFile).path()));
            QFile dirs(userDirsFile);
            QVERIFY(dirs.open(QIODevice::WriteOnly));
            dirs.write(userDirs.toUtf8() + '\n');
        }
        if (made.endsWith(QStringLiteral("=file"))) {
            QFile file(home.filePath(made.chopped(5)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else if (!made.isEmpty()) {
            QVERIFY(home.mkpath(made));
        }
        DesktopServices services;
        QCOMPARE(QDir(services.desktopFolder()).canonicalPath(),
                 QDir(home.filePath(expected)).canonicalPath());
    }

    void applicationFolderIsTheInstalledDataFolderWhereThereIsOne() {
        QTemporaryDir prefix;
        const QString bin = prefix.filePath(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(bin));
        QCOMPARE(veltrano::platform::applicationFolderFor(bin), bin);  // as in the build tree
        const QString data = QDir::cleanPath(bin + QStringLiteral("/" VELTRANO_DATA_FROM_PROGRAM));
        QVERIFY(QDir().mkpath(data));
        QCOMPARE(veltrano::platform::applicationFolderFor(bin), data);
        QVERIFY(data.endsWith(QStringLiteral("/share/veltrano")));
    }
};

QTEST_MAIN(DesktopServicesTest)
#include "desktop_services_test.moc"
