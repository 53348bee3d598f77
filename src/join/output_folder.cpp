#include "join/output_folder.h"

#include <QDir>
#include <QLineEdit>

#include "platform/qt/add_folder.h"
#include "platform/qt/qt_messages.h"
#include "platform/qt/settings_store.h"
#include "shell/failure_report.h"
#include "shell/guarded_steps.h"
#include "shell/desktop_folder.h"

namespace veltrano {

void fillOutputFolderBox(QLineEdit& box) {
    const QString desktop = GetDesktopFolder();
    box.setText(platform::SettingsStore::outputFolder(desktop));
}

void rememberOutputFolder(QLineEdit& box) {
    QObject::connect(&box, &QLineEdit::textChanged, &box,
                     [](const QString& text) { platform::SettingsStore::setOutputFolder(text); });
}

void browseForOutputFolder(QWidget& owner, QLineEdit& box) {
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
        platform::SettingsStore::setLastFolderDot(picked);
        endsWithSeparator = picked.endsWith(QDir::separator());
    });
    if (!endsWithSeparator) {
        steps.step(106, [&] { box.setText(picked + QDir::separator()); });
    } else {
        steps.step(108, [&] { box.setText(picked); });
    }
}

}  // namespace veltrano
