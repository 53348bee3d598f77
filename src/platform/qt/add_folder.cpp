#include "platform/qt/add_folder.h"

#include <QDir>

#include "platform/qt/desktop_services.h"

namespace veltrano::AddFolder {

QString BrowseForFolder(QWidget* owner, const QString& title, const QString& initialFolder) {
    return QDir::toNativeSeparators(
        platform::desktopServices().browseForFolder(owner, title, initialFolder));
}

}  // namespace veltrano::AddFolder
