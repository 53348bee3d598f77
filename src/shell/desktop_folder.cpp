#include "shell/desktop_folder.h"

#include <QDir>

#include "platform/failure.h"
#include "platform/qt/desktop_services.h"

namespace veltrano {

QString GetSpecialFolder(int folderId) {
    if (folderId != kDesktopFolder) {
        return {};
    }
    try {
        return QDir::toNativeSeparators(platform::desktopServices().desktopFolder());
    } catch (...) {
        return {};
    }
}

QString GetDesktopFolder() {
    const QString folder = GetSpecialFolder(kDesktopFolder);
    if (folder.isEmpty()) {
        throw Failure("Invalid procedure call or argument");
    }
    return folder + QDir::separator();
}

}  // namespace veltrano
