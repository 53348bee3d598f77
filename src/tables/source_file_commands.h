#pragma once

class QLineEdit;

namespace veltrano {

namespace platform {
class CommonDialog;
}

// Browses for source file #fileNumber with the main window's one open-file dialog; a
// chosen file replaces the field's text, a cancelled dialog leaves it as it was.
void browseForSourceFile(platform::CommonDialog& dialog, QLineEdit& field, int fileNumber);

// Puts the paths of the two sample files beside the program into the fields.
void loadSampleFiles(QLineEdit& file1, QLineEdit& file2);

}  // namespace veltrano
