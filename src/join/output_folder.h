#pragma once

class QLineEdit;
class QWidget;

namespace veltrano {

class SettingsNotice;

// Fills the output folder box from the settings: the stored text, or the desktop folder when
// none is stored or the stored text cannot be a folder path (a stored empty text stays empty). The
// desktop folder is looked up first, so a failed lookup fails this even when a text is stored.
void fillOutputFolderBox(QLineEdit& box);

// Keeps the box's whole text in the settings at every change; a save that fails goes to
// notice.
void rememberOutputFolder(QLineEdit& box, SettingsNotice& notice);

// The "..." button: the folder browser; a picked folder goes into the box with exactly one
// trailing separator and is remembered as the last folder picked. Cancel changes nothing.
void browseForOutputFolder(QWidget& owner, QLineEdit& box, SettingsNotice& notice);

}  // namespace veltrano
