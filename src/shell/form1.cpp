#include "shell/form1.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "join/form2.h"
#include "platform/qt/desktop_services.h"
#include "platform/qt/qt_messages.h"
#include "platform/qt/skin_framework.h"
#include "shell/appearance.h"
#include "shell/application_icon.h"
#include "shell/application_title.h"
#include "shell/failure_report.h"
#include "shell/file_drop.h"
#include "shell/guarded_steps.h"
#include "shell/shell_functions.h"
#include "shell/window_pointer.h"
#include "shell/window_setup.h"
#include "tables/extraction_command.h"
#include "tables/source_file_commands.h"

namespace veltrano {

Form1::Form1()
    : CommonDialog1(this),
      SkinFramework1(platform::desktopServices().createSkinComponent()),
      mPointer(new WindowPointer(*this)),
      mExtraction(std::make_unique<ExtractionCommand>(*this)) {
    createControls();
    Form_Load();
    centreOnScreen(*this);
    Command1->setFocus();
}

Form1::~Form1() = default;

void Form1::createControls() {
    setUpFixedWindow(*this, 8040, 2865);
    paintWhite(*this);
    PushButton1 = addPushButton(*this, "PushButton1", QStringLiteral("Load Sample/Example Files"),
                                120, 120, 7800, 405);
    Frame1 = addFrame(*this, "Frame1", QStringLiteral("HTML File #1"), 120, 600, 7800, 800);
    Text1 = addTextBox(*Frame1, "Text1", 240, 300, 6600, 345);
    PushButton4 = addPushButton(*Frame1, "PushButton4", QStringLiteral("..."), 6960, 300, 600, 345);
    Frame2 = addFrame(*this, "Frame2", QStringLiteral("HTML File #2"), 120, 1440, 7800, 800);
    Text2 = addTextBox(*Frame2, "Text2", 240, 300, 6600, 345);
    PushButton6 = addPushButton(*Frame2, "PushButton6", QStringLiteral("..."), 6960, 300, 600, 345);
    Command1 = addPushButton(*this, "Command1", QStringLiteral("Command1"), -720, 2640, 615, 495);
    Command1->setFont(font());
    PushButton7 =
        addPushButton(*this, "PushButton7", QStringLiteral("Next >"), 120, 2360, 7800, 405);
    paintWhite(*Frame1);
    paintWhite(*Frame2);

    spreadWindowFont(*this);

    setTabOrder(Command1, Text2);
    setTabOrder(Text2, PushButton6);
    setTabOrder(PushButton6, Text1);
    setTabOrder(Text1, PushButton4);
    setTabOrder(PushButton4, PushButton7);
    setTabOrder(PushButton7, PushButton1);

    mPointer->customOver({PushButton1, PushButton4, PushButton6, PushButton7});
    mPointer->normalOver({this, Frame1, Frame2});

    connect(PushButton1, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(PushButton4, &QPushButton::clicked, this, [this] { PushButton4_Click(); });
    connect(PushButton6, &QPushButton::clicked, this, [this] { PushButton6_Click(); });
    connect(PushButton7, &QPushButton::clicked, this, [this] { PushButton7_Click(); });
    // Enter in a path box means "Next >", as in a dialog.
    connect(Text1, &QLineEdit::returnPressed, this, [this] { PushButton7_Click(); });
    connect(Text2, &QLineEdit::returnPressed, this, [this] { PushButton7_Click(); });
    acceptFileDrops(*Text1, *Frame1);
    acceptFileDrops(*Text2, *Frame2);
}

void Form1::Form_Load() {
    FailureReporter reporter(platform::messages(), locationText("Form1", "Form_Load"));
    GuardedSteps steps(reporter);
    steps.step(100, [&] { ApplySkin(*this, *SkinFramework1, besideProgramFile(kSkinFile)); });
    steps.step(104, [&] { setWindowTitle(QStringLiteral("Veltrano")); });
    steps.step(104, [&] { setWindowIcon(applicationIcon()); });
    steps.step(104, [&] { SetApplicationTitle(); });
    loadHandPointer(steps, 106, 108, PointerTest::AskPresent, *mPointer);
}

Form2& Form1::form2() {
    if (!mForm2) {
        mForm2 = std::make_unique<Form2>(*this);
    }
    return *mForm2;
}

bool Form1::isLoading() const {
    return mExtraction->isLoading();
}

// While "Next >" reads the files, the window's commands are refused: a path changed or a
// second build started meanwhile would not match what is being read.
void Form1::PushButton1_Click() {
    if (!isLoading()) {
        loadSampleFiles(*Text1, *Text2);
    }
}

void Form1::PushButton4_Click() {
    if (!isLoading()) {
        browseForSourceFile(CommonDialog1, *Text1, 1);
    }
}

void Form1::PushButton6_Click() {
    if (!isLoading()) {
        browseForSourceFile(CommonDialog1, *Text2, 2);
    }
}

void Form1::PushButton7_Click() {
    mExtraction->run();
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    platform::desktopServices().endProgram();
}

}  // namespace veltrano
