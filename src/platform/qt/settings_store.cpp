#include "platform/qt/settings_store.h"

#include <QSettings>

namespace veltrano::platform {

namespace {

const QString kOutputFolderKey = QStringLiteral("Text2");
const QString kLastFolderKey = QStringLiteral("LastFolderDot");

QString read(const QString& key, const QString& defaultValue) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Kestrava"));
    settings.beginGroup(QStringLiteral("Veltrano"));
    return settings.value(key, defaultValue).toString();
}

void write(const QString& key, const QString& value) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Kestrava"));
    settings.beginGroup(QStringLiteral("Veltrano"));
    settings.setValue(key, value);
    settings.sync();
}

}  // namespace

QString SettingsStore::outputFolder(const QString& defaultValue) {
    return read(kOutputFolderKey, defaultValue);
}

void SettingsStore::setOutputFolder(const QString& folder) {
    write(kOutputFolderKey, folder);
}

void SettingsStore::setLastFolderDot(const QString& folder) {
    write(kLastFolderKey, folder);
}

}  // namespace veltrano::platform
