#pragma once

#include <QString>

namespace veltrano::platform {

// The values that survive between runs: the user's settings of application "Kestrava",
// group "Veltrano". Each write reaches the disk at once; nothing is written at shutdown.
class SettingsStore final {
public:
    // "Text2": the output folder box. The default only when the key does not exist, so a
    // stored empty text stays empty.
    static QString outputFolder(const QString& defaultValue);
    static void setOutputFolder(const QString& folder);
    // "LastFolderDot": the folder last picked in the folder browser (written only).
    static void setLastFolderDot(const QString& folder);
};

}  // namespace veltrano::platform
