#pragma once

#include <QString>

class QWidget;

namespace veltrano::AddFolder {

// The folder browser, modal to owner: the chosen folder's path as the platform gives it (a
// root keeps its separator, any other folder has none), or empty when the user cancels.
// initialFolder is selected when the dialog opens; empty keeps the dialog's own start.
QString BrowseForFolder(QWidget* owner, const QString& title, const QString& initialFolder);

}  // namespace veltrano::AddFolder
