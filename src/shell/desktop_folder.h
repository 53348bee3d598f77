#pragma once

#include <QString>

namespace veltrano {

inline constexpr int kDesktopFolder = 0;

// The path of a special folder of the platform; empty when the lookup fails. Never fails.
QString GetSpecialFolder(int folderId);

// The desktop folder followed by one separator. Fails (throws Failure) when the desktop
// folder cannot be determined.
QString GetDesktopFolder();

}  // namespace veltrano
