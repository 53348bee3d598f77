#pragma once

#include <QString>
#include <QStringList>

class QLineEdit;

namespace veltrano {

// What the command line `veltrano [FILE1 [FILE2]]` asks for.
struct CommandLine {
    enum class Action { Run, PrintHelp, PrintVersion, Fail };
    Action action = Action::Run;
    QStringList files;  // at most two, made absolute against the working folder
    QString text;       // the help or the version for stdout, the failure for stderr
};

// The exit status of a command line that cannot be followed (as for a wrong usage).
inline constexpr int kUsageExitStatus = 2;

// Reads the arguments, the program's own name first. Help and version win over anything else
// on the line, so that they can be answered before Qt has taken its own options (-platform,
// -style, ...) off the line; read what is left once it has.
CommandLine readCommandLine(const QStringList& arguments);

// Puts the files of the command line into the two path boxes of the first window.
void fillPathBoxes(const CommandLine& commandLine, QLineEdit& file1, QLineEdit& file2);

}  // namespace veltrano
