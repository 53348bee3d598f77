#include "platform/qt/settings_store.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace veltrano::platform {

namespace {

const QString kOrganization = QStringLiteral("Kestrava");
const QString kGroup = QStringLiteral("Veltrano");
const QString kOutputFolderKey = QStringLiteral("Text2");
const QString kLastFolderKey = QStringLiteral("LastFolderDot");

// Ours holds two folder names; a file this large is something else, and reading it whole
// would take the memory.
constexpr qint64 kLargestSettingsFile = 16 << 20;

// QSettings reads its file while it is being made, so it is looked at first: a named pipe
// would hold the program for ever, a device or a huge file would fill the memory.
bool isUsable() {
    const QFileInfo file(SettingsStore::fileName());
    return !file.exists() || (file.isFile() && file.size() <= kLargestSettingsFile);
}

QString read(const QString& key, const QString& defaultValue) {
    if (!isUsable()) {
        return defaultValue;
    }
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kOrganization);
    settings.beginGroup(kGroup);
    return settings.value(key, defaultValue).toString();
}

bool write(const QString& key, const QString& value) {
    if (!isUsable()) {
        return false;
    }
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, kOrganization);
    settings.beginGroup(kGroup);
    settings.setValue(key, value);
    settings.sync();
    // A FormatError only says the file was damaged when read: it has been written anew.
    return settings.status() != QSettings::AccessError;
}

}  // namespace

QString SettingsStore::outputFolder(const QString& defaultValue) {
    return read(kOutputFolderKey, defaultValue);
}

bool SettingsStore::setOutputFolder(const QString& folder) {
    return write(kOutputFolderKey, folder);
}

bool SettingsStore::setLastFolderDot(const QString& folder) {
    return write(kLastFolderKey, folder);
}

QString SettingsStore::fileName() {
    // Where QSettings keeps an organization's user settings on this platform.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1Char('/') + kOrganization + QStringLiteral(".conf");
}

}  // namespace veltrano::platform
