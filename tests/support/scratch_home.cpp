#include "scratch_home.h"

#include <QDir>
#include <QStandardPaths>

namespace veltrano::testing {

namespace {

constexpr const char* kFolders[][2] = {
    {"HOME", ""},
    {"XDG_CONFIG_HOME", ".config"},
    {"XDG_DATA_HOME", ".local/share"},
    {"XDG_CACHE_HOME", ".cache"},
    {"XDG_STATE_HOME", ".local/state"},
};

}  // namespace

ScratchHome::ScratchHome() {
    for (const auto& [variable, folder] : kFolders) {
        mPrevious.emplace_back(variable, qEnvironmentVariableIsSet(variable)
                                             ? std::optional(qgetenv(variable))
                                             : std::nullopt);
        const QString path = QDir(mHome.path()).filePath(QLatin1String(folder));
        QDir().mkpath(path);
        qputenv(variable, QFile::encodeName(QDir::cleanPath(path)));
    }
    // Also makes the settings look for their file anew, under the new home.
    QStandardPaths::setTestModeEnabled(true);
}

ScratchHome::~ScratchHome() {
    for (const auto& [variable, value] : mPrevious) {
        if (value) {
            qputenv(variable, *value);
        } else {
            qunsetenv(variable);
        }
    }
}

std::unique_ptr<QSettings> storedSettings() {
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                QStringLiteral("Kestrava"));
    settings->beginGroup(QStringLiteral("Veltrano"));
    return settings;
}

}  // namespace veltrano::testing
