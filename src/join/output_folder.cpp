#include "join/output_folder.h"

#include <QDir>
#include <QLineEdit>

#include "join/path_helpers.h"
#include "join/settings_notice.h"
#include "platform/qt/add_folder.h"
#include "platform/qt/qt_messages.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/settings_store.h"
#include "shell/desktop_folder.h"
#include "shell/failure_report.h"
#include "shell/guarded_steps.h"

namespace veltrano {

void fillOutputFolderBox(QLineEdit& box) {
    const QString desktop = GetDesktopFolder();
    const QString stored = platform::SettingsStore::outputFolder(desktop);
    // A stored text no folder path could be comes from a damaged settings file; the desktop
    // is a folder that works.
    box.setText(CouldBeFolderPath(platform::toUtf8(stored)) ? stored : desktop);
}

void rememberOutputFolder(QLineEdit& box, SettingsNotice& notice) {
    QObject::connect(&box, &QLineEdit::textChanged, &box, [&notice](const QString& text) {
        notice.saved(platform::SettingsStore::setOutputFolder(text));
    });
}

void browseForOutputFolder(QWidget& owner, QLineEdit& box, SettingsNotice& notice) {
    FailureReporter reporter(platform::messages(), locationText("Form2", "PushButton1_Click"));
    GuardedSteps steps(reporter);
    QString picked;
    steps.step(100, [&] {
        picked = AddFolder::BrowseForFolder(&owner, QStringLiteral("Save To This Folder"), {});
    });
    if (steps.test(102, [&] { return picked.isEmpty(); })) {
        return;
    }
    bool endsWithSeparator = false;
    steps.step(104, [&] {
        notice.saved(platform::SettingsStore::setLastFolderDot(picked));
        endsWithSeparator = picked.endsWith(QDir::separator());
    });
    if (!endsWithSeparator) {
        steps.step(106, [&] { box.setText(picked + QDir::separator()); });
    } else {
        steps.step(108, [&] { box.setText(picked); });
    }
}

}  // namespace veltrano
