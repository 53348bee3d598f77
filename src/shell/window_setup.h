#pragma once

#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace veltrano {

class GuardedSteps;
class WindowPointer;

// Both windows: fixed single border, close and minimise only, the given client size in
// twips, Arial 9 pt bold.
void setUpFixedWindow(QWidget& window, int clientWidthTwips, int clientHeightTwips);
void centreOnScreen(QWidget& window);
// Gives every control without a font of its own the window's font. Done once the controls
// exist: a skin's style sheet stops fonts from passing down through styled frames.
void spreadWindowFont(QWidget& window);

// Controls placed in twips inside parent, named after the control.
QPushButton* addPushButton(QWidget& parent, const char* name, const QString& caption, int left,
                           int top, int width, int height);
QGroupBox* addFrame(QWidget& parent, const char* name, const QString& caption, int left, int top,
                    int width, int height);
QLineEdit* addTextBox(QWidget& parent, const char* name, int left, int top, int width, int height);
// A label as wide as its caption needs when the given width is a few pixels short: this
// font's metrics differ slightly from the ones the layout was drawn with.
QLabel* addLabel(QWidget& parent, const char* name, const QString& caption, int left, int top,
                 int width, int height);

// A file beside the program, e.g. kPointerFile.
QString besideProgramFile(const char* relativeName);

// Tells, in the logging category "veltrano.files" (off unless switched on, for instance with
// QT_LOGGING_RULES="veltrano.files.info=true"), where the program looks for the files beside
// it and which of them it finds there.
void reportFilesBesideProgram();

// The load steps' hand pointer: tests for the pointer file at testLine and, when it is there,
// loads it at loadLine as the window's custom pointer. The main window asks "is it there?",
// so a failing test goes on to the load; the join setup window asks "is it missing?", so a
// failing test skips it.
enum class PointerTest { AskPresent, AskMissing };
void loadHandPointer(GuardedSteps& steps, int testLine, int loadLine, PointerTest question,
                     WindowPointer& pointer);

}  // namespace veltrano
