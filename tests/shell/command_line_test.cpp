#include "shell/command_line.h"

#include <QDir>
#include <QLineEdit>
#include <QtTest>

using veltrano::CommandLine;
using veltrano::readCommandLine;

Q_DECLARE_METATYPE(CommandLine::Action)

class CommandLineTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsFilesHelpVersionAndRefusesTheRest_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<CommandLine::Action>("action");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("text");  // what the text begins with

        const QString here = QDir::currentPath() + QLatin1Char('/');
        const auto line = [](std::initializer_list<const char*> words) {
            QStringList arguments{QStringLiteral("veltrano")};
            for (const char* word : words) {
                arguments << QString::fromUtf8(word);
            }
            return arguments;
        };
        using A = CommandLine::Action;
        QTest::newRow("nothing") << line({}) << A::Run << QStringList() << QString();
        QTest::newRow("one file, made absolute")
            << line({"in/a.html"}) << A::Run << QStringList{here + QStringLiteral("in/a.html")}
            << QString();
        QTest::newRow("two files")
            << line({"/data/a.htm", "/data/b b.html"}) << A::Run
            << QStringList{QStringLiteral("/data/a.htm"), QStringLiteral("/data/b b.html")}
            << QString();
        QTest::newRow("a file named like an option, after --")
            << line({"--", "-v"}) << A::Run << QStringList{here + QStringLiteral("-v")}
            << QString();
        QTest::newRow("--help") << line({"--help"}) << A::PrintHelp << QStringList()
                                << QStringLiteral("Usage: veltrano [OPTION] [FILE1 [FILE2]]\n");
        QTest::newRow("-h before Qt's options are taken")
            << line({"-platform", "offscreen", "-h"}) << A::PrintHelp << QStringList()
            << QStringLiteral("Usage: ");
        QTest::newRow("--version") << line({"--version"}) << A::PrintVersion << QStringList()
                                   << QStringLiteral("veltrano " VELTRANO_VERSION "\n");
        QTest::newRow("-v with files") << line({"a.htm", "-v"}) << A::PrintVersion << QStringList()
                                       << QStringLiteral("veltrano ");
        QTest::newRow("an unknown option")
            << line({"--pretty", "a.htm"}) << A::Fail << QStringList()
            << QStringLiteral(
                   "veltrano: Unknown option 'pretty'.\n"
                   "Try 'veltrano --help' for more information.\n");
        QTest::newRow("a single-dash word is one option")
            << line({"-platform"}) << A::Fail << QStringList()
            << QStringLiteral("veltrano: Unknown option 'platform'.");
        QTest::newRow("three files")
            << line({"a", "b", "c"}) << A::Fail << QStringList()
            << QStringLiteral(
                   "veltrano: at most two files are taken, FILE1 and FILE2; 3 were given.\n");
    }
    void readsFilesHelpVersionAndRefusesTheRest() {
        QFETCH(QStringList, arguments);
        QFETCH(CommandLine::Action, action);
        QFETCH(QStringList, files);
        QFETCH(QString, text);
        const CommandLine commandLine = readCommandLine(arguments);
        QCOMPARE(commandLine.action, action);
        QCOMPARE(commandLine.files, files);
        QVERIFY2(commandLine.text.startsWith(text), qPrintable(commandLine.text));
    }

    void filesFillThePathBoxesInOrder() {
        QLineEdit text1;
        QLineEdit text2;
        text2.setText(QStringLiteral("kept"));
        veltrano::fillPathBoxes(readCommandLine({QStringLiteral("veltrano"), QStringLiteral("/a")}),
                                text1, text2);
        QCOMPARE(text1.text(), QStringLiteral("/a"));
        QCOMPARE(text2.text(), QStringLiteral("kept"));
        veltrano::fillPathBoxes(readCommandLine({QStringLiteral("veltrano"), QStringLiteral("/b"),
                                                 QStringLiteral("/c")}),
                                text1, text2);
        QCOMPARE(text1.text(), QStringLiteral("/b"));
        QCOMPARE(text2.text(), QStringLiteral("/c"));
    }
};

QTEST_MAIN(CommandLineTest)
#include "command_line_test.moc"
