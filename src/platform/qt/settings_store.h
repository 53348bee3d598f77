#pragma once

#include <QString>

namespace veltrano::platform {

// The values that survive between runs: the user's settings of application "Kestrava",
// group "Veltrano". Each write reaches the disk at once; nothing is written at shutdown.
// A settings file that cannot be read reads as empty; one that is not a regular file, or is
// far too large to be ours, is neither read nor written.
class SettingsStore final {
public:
    // "Text2": the output folder box. The default only when the key does not exist, so a
    // stored empty text stays empty.
    static QString outputFolder(const QString& defaultValue);
    // Each write returns false when the value did not reach the settings file.
    [[nodiscard]] static bool setOutputFolder(const QString& folder);
    // "LastFolderDot": the folder last picked in the folder browser (written only).
    [[nodiscard]] static bool setLastFolderDot(const QString& folder);
    // Where the settings are kept, to tell the user.
    static QString fileName();
};

}  // namespace veltrano::platform
