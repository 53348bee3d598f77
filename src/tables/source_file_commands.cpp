#include "tables/source_file_commands.h"

#include <QLineEdit>

#include "platform/qt/common_dialog.h"
#include "platform/qt/qt_messages.h"
#include "shell/failure_report.h"
#include "shell/guarded_steps.h"
#include "shell/shell_functions.h"
#include "shell/window_setup.h"

namespace veltrano {

namespace {

// Read-only box ticked at start, long file names, explorer style.
constexpr int kOpenFlags = 2621441;

}  // namespace

void browseForSourceFile(platform::CommonDialog& dialog, QLineEdit& field, int fileNumber) {
    FailureReporter reporter(
        platform::messages(),
        locationText("Form1", fileNumber == 1 ? "PushButton4_Click" : "PushButton6_Click"));
    GuardedSteps steps(reporter);
    steps.step(100, [&] { dialog.FileName.clear(); });
    steps.step(102, [&] { dialog.Flags = kOpenFlags; });
    steps.step(104, [&] { dialog.DialogTitle = QStringLiteral("Select Excel File"); });
    steps.step(106, [&] {
        dialog.Filter = fileNumber == 1 ? QStringLiteral("All HTML Files (*.htm)|*.htm*|")
                                        : QStringLiteral("All HTML Files (*.htm*)|*.htm*|");
    });
    steps.step(108, [&] { dialog.ShowOpen(); });
    if (steps.test(110, [&] { return dialog.FileName.isEmpty(); })) {
        return;
    }
    steps.step(112, [&] { field.setText(dialog.FileName); });
}

void loadSampleFiles(QLineEdit& file1, QLineEdit& file2) {
    FailureReporter reporter(platform::messages(), locationText("Form1", "PushButton1_Click"));
    GuardedSteps steps(reporter);
    steps.step(100, [&] { file1.setText(besideProgramFile(kSampleFile1)); });
    steps.step(102, [&] { file2.setText(besideProgramFile(kSampleFile2)); });
}

}  // namespace veltrano
