#include "shell/command_line.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QLineEdit>

namespace veltrano {

namespace {

const QString kProgram = QStringLiteral("veltrano");

// Written out rather than left to the parser: its help needs the application object, which
// needs a display, and --help must answer without one.
const QString kHelp = QStringLiteral(
    "Usage: veltrano [OPTION] [FILE1 [FILE2]]\n"
    "Combines one table from each of two HTML files into a new HTML file, joined.html.\n"
    "FILE1 and FILE2 fill the boxes \"HTML File #1\" and \"HTML File #2\" of the first window.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "  -v, --version  show the version and exit\n"
    "\n"
    "Qt's own options, such as -platform or -style, are passed on to Qt.\n");

CommandLine failure(const QString& reason) {
    return {CommandLine::Action::Fail,
            {},
            kProgram + QStringLiteral(": ") + reason + QStringLiteral("\nTry '") + kProgram +
                QStringLiteral(" --help' for more information.\n")};
}

}  // namespace

CommandLine readCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // -platform is one option, as Qt reads it, not six.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOption(help);
    parser.addOption(version);
    const bool understood = parser.parse(arguments);

    if (parser.isSet(help)) {
        return {CommandLine::Action::PrintHelp, {}, kHelp};
    }
    if (parser.isSet(version)) {
        return {CommandLine::Action::PrintVersion,
                {},
                kProgram + QLatin1Char(' ') + QStringLiteral(VELTRANO_VERSION) + QLatin1Char('\n')};
    }
    if (!understood) {
        return failure(parser.errorText());
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 2) {
        return failure(
            QStringLiteral("at most two files are taken, FILE1 and FILE2; %1 were given.")
                .arg(files.size()));
    }
    CommandLine commandLine;
    for (const QString& file : files) {
        commandLine.files << (file.isEmpty() ? file : QFileInfo(file).absoluteFilePath());
    }
    return commandLine;
}

void fillPathBoxes(const CommandLine& commandLine, QLineEdit& file1, QLineEdit& file2) {
    if (!commandLine.files.empty()) {
        file1.setText(commandLine.files[0]);
    }
    if (commandLine.files.size() > 1) {
        file2.setText(commandLine.files[1]);
    }
}

}  // namespace veltrano
