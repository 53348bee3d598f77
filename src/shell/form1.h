#pragma once

#include <QWidget>

#include <memory>

#include "platform/qt/common_dialog.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace veltrano {

namespace platform {
class SkinComponent;
}
class ExtractionCommand;
class Form2;
class WindowPointer;

// The main window: the two source file paths, their browse buttons, the samples button and
// "Next >". Closing it ends the program.
class Form1 final : public QWidget {
public:
    // Creates the controls and runs the load steps.
    Form1();
    ~Form1() override;

    QPushButton* PushButton1;  // "Load Sample/Example Files"
    QGroupBox* Frame1;         // "HTML File #1"
    QLineEdit* Text1;
    QPushButton* PushButton4;  // browse for file #1
    QGroupBox* Frame2;         // "HTML File #2"
    QLineEdit* Text2;
    QPushButton* PushButton6;  // browse for file #2
    QPushButton* Command1;     // off the client area; holds the focus at start
    QPushButton* PushButton7;  // "Next >"
    platform::CommonDialog CommonDialog1;
    std::unique_ptr<platform::SkinComponent> SkinFramework1;

    WindowPointer& pointer() { return *mPointer; }
    // The join setup window; the first touch creates it and runs its load steps.
    Form2& form2();
    bool hasForm2() const { return mForm2 != nullptr; }

    void PushButton1_Click();
    void PushButton4_Click();
    void PushButton6_Click();
    void PushButton7_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void Form_Load();

    bool isLoading() const;

    WindowPointer* mPointer;
    std::unique_ptr<Form2> mForm2;
    // After the join setup window, so that work still running ends before that window goes.
    std::unique_ptr<ExtractionCommand> mExtraction;
};

}  // namespace veltrano
