#include <QApplication>

#include <cstdio>

#include "shell/application_font.h"
#include "shell/command_line.h"
#include "shell/form1.h"
#include "shell/window_setup.h"

namespace {

QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
}

}  // namespace

int main(int argc, char* argv[]) {
    using veltrano::CommandLine;
    // Help and version are answered before anything needs a display.
    const CommandLine early = veltrano::readCommandLine(argumentsOf(argc, argv));
    if (early.action == CommandLine::Action::PrintHelp ||
        early.action == CommandLine::Action::PrintVersion) {
        print(stdout, early.text);
        return 0;
    }

    QApplication application(argc, argv);
    // What is left once Qt has taken its own options.
    const CommandLine commandLine = veltrano::readCommandLine(QCoreApplication::arguments());
    if (commandLine.action == CommandLine::Action::Fail) {
        print(stderr, commandLine.text);
        return veltrano::kUsageExitStatus;
    }
    veltrano::useProportionalDefaultFont();
    veltrano::reportFilesBesideProgram();
    veltrano::Form1 form1;
    veltrano::fillPathBoxes(commandLine, *form1.Text1, *form1.Text2);
    form1.show();
    return QApplication::exec();
}
