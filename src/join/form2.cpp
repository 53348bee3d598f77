#include "join/form2.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>

#include "join/output_folder.h"
#include "join/preview_grid.h"
#include "platform/qt/desktop_services.h"
#include "platform/qt/qt_messages.h"
#include "platform/qt/qt_text.h"
#include "shell/appearance.h"
#include "shell/application_icon.h"
#include "shell/failure_report.h"
#include "shell/guarded_steps.h"
#include "shell/twips.h"
#include "shell/window_pointer.h"
#include "shell/window_setup.h"

namespace veltrano {

namespace {

QComboBox* addDropDownList(QWidget& parent, const char* name, int left, int top) {
    auto* list = new QComboBox(&parent);
    list->setObjectName(QLatin1String(name));
    WindowPointer::markControl(*list);
    placeInTwips(*list, left, top, 5620, 345);
    return list;
}

PreviewGrid* addPreviewGrid(QWidget& parent, const char* name, int top) {
    auto* grid = new PreviewGrid(&parent);
    grid->setObjectName(QLatin1String(name));
    WindowPointer::markControl(*grid);
    placeInTwips(*grid, 120, top, 7800, 1335);
    return grid;
}

QRadioButton* addOptionButton(QWidget& parent, const char* name, const QString& caption, int top,
                              int width) {
    auto* option = new QRadioButton(caption, &parent);
    option->setObjectName(QLatin1String(name));
    WindowPointer::markControl(*option);
    placeInTwips(*option, 240, top, width, 225);
    return option;
}

}  // namespace

Form2::Form2(QWidget& firstWindow)
    : mFirstWindow(firstWindow),
      mPointer(new WindowPointer(*this)),
      mJoin(*this, platform::messages()),
      mSettingsNotice(platform::messages()) {
    createControls();
    Form_Load();
    centreOnScreen(*this);
}

Form2::~Form2() = default;

void Form2::createControls() {
    setUpFixedWindow(*this, 8040, 8625);
    paintWhite(*this);
    PushButton8 =
        addPushButton(*this, "PushButton8", QStringLiteral("< Back"), 120, 120, 7800, 405);
    Frame2 = addFrame(*this, "Frame2", QStringLiteral("File #1"), 120, 600, 7800, 1275);
    Label3 = addLabel(*Frame2, "Label3", QStringLiteral("Table Name:"), 240, 345, 1050, 225);
    Combo1 = addDropDownList(*Frame2, "Combo1", 1920, 300);
    Label1 = addLabel(*Frame2, "Label1", QStringLiteral("Common Column:"), 240, 795, 1500, 225);
    Combo3 = addDropDownList(*Frame2, "Combo3", 1920, 750);
    ListView1 = addPreviewGrid(*this, "ListView1", 1980);
    Frame1 = addFrame(*this, "Frame1", QStringLiteral("File #2"), 120, 3360, 7800, 1275);
    Label2 = addLabel(*Frame1, "Label2", QStringLiteral("Table Name:"), 240, 345, 1050, 225);
    Combo2 = addDropDownList(*Frame1, "Combo2", 1920, 300);
    Label4 = addLabel(*Frame1, "Label4", QStringLiteral("Common Column:"), 240, 795, 1500, 225);
    Combo4 = addDropDownList(*Frame1, "Combo4", 1920, 750);
    ListView2 = addPreviewGrid(*this, "ListView2", 4740);
    Frame3 = addFrame(*this, "Frame3", QStringLiteral("Join Option"), 120, 6120, 7800, 1035);
    Option1 =
        addOptionButton(*Frame3, "Option1", QStringLiteral("Append Tables Up and Down"), 300, 2895);
    Option2 = addOptionButton(*Frame3, "Option2",
                              QStringLiteral("Join Tables Left and Right By Common Column Of Data"),
                              650, 5415);
    Frame4 = addFrame(*this, "Frame4", QStringLiteral("Save Results To This Folder"), 120, 7200,
                      7800, 810);
    Text2 = addTextBox(*Frame4, "Text2", 240, 300, 6630, 345);
    PushButton1 = addPushButton(*Frame4, "PushButton1", QStringLiteral("..."), 6960, 300, 600, 345);
    PushButton6 =
        addPushButton(*this, "PushButton6", QStringLiteral("Start Joining"), 120, 8120, 7800, 405);
    Option1->setChecked(true);

    const QList<QWidget*> tabOrder = {Combo1,  Combo2,      Combo4,      ListView2, Option1,
                                      Option2, PushButton6, PushButton8, Text2,     PushButton1};
    spreadWindowFont(*this);

    setTabOrder(Combo1, Combo3);
    setTabOrder(Combo3, ListView1);
    setTabOrder(ListView1, Combo2);
    setTabOrder(Combo2, Combo4);
    setTabOrder(Combo4, ListView2);
    setTabOrder(ListView2, Option1);
    setTabOrder(Option1, Option2);
    setTabOrder(Option2, PushButton6);
    setTabOrder(PushButton6, PushButton8);
    setTabOrder(PushButton8, Text2);
    setTabOrder(Text2, PushButton1);

    mPointer->customOver({PushButton1, PushButton6, PushButton8});
    mPointer->normalOver({this, Frame1, Frame2, Frame3, Frame4, ListView1, ListView1->viewport(),
                          ListView2, ListView2->viewport()});

    connect(Combo1, &QComboBox::currentIndexChanged, this, [this] { chooseTable(1); });
    connect(Combo2, &QComboBox::currentIndexChanged, this, [this] { chooseTable(2); });
    connect(Option1, &QRadioButton::clicked, this, [this] { chooseMode(false); });
    connect(Option2, &QRadioButton::clicked, this, [this] { chooseMode(true); });
    connect(PushButton1, &QPushButton::clicked, this, [this] { PushButton1_Click(); });
    connect(PushButton6, &QPushButton::clicked, this, [this] { PushButton6_Click(); });
    connect(PushButton8, &QPushButton::clicked, this, [this] { PushButton8_Click(); });
    // Escape goes back, as it leaves a dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            [this] { PushButton8_Click(); });
    rememberOutputFolder(*Text2, mSettingsNotice);
}

void Form2::Form_Load() {
    FailureReporter reporter(platform::messages(), locationText("Form2", "Form_Load"));
    GuardedSteps steps(reporter);
    steps.step(100, [&] { ApplyFaceColour(*this); });
    steps.step(102, [&] { setWindowIcon(applicationIcon()); });
    steps.step(106, [&] { setWindowTitle(QStringLiteral("Veltrano")); });
    loadHandPointer(steps, 108, 110, PointerTest::AskMissing, *mPointer);
    steps.step(112, [&] { fillOutputFolderBox(*Text2); });
}

void Form2::selectTable(int fileNumber, int position) {
    QComboBox* list = tableList(fileNumber);
    {
        const QSignalBlocker quiet(list);
        list->setCurrentIndex(position);
    }
    // The table choice runs here, not from the signal, so that its failures reach the caller.
    // The old table goes first: whatever happens next, no row of it stays in the grid.
    QComboBox* columns = columnList(fileNumber);
    grid(fileNumber)->setTable(PreviewTable());
    columns->clear();
    PreviewTable table =
        PreviewTable::choose(storedFile(mStore, fileNumber), static_cast<std::size_t>(position),
                             platform::toUtf8(list->currentText()));
    QStringList entries;
    entries.reserve(table.columnCount());
    for (int column = 1; column <= table.columnCount(); ++column) {
        entries << QStringLiteral("Column %1").arg(column);
    }
    columns->addItems(entries);
    columns->setCurrentIndex(-1);
    grid(fileNumber)->setTable(std::move(table));
}

void Form2::clearTableList(int fileNumber) {
    tableList(fileNumber)->clear();
    // "Start Joining" joins whatever the grids hold: a file without tables must not leave the
    // previous file's table there.
    columnList(fileNumber)->clear();
    grid(fileNumber)->setTable(PreviewTable());
}

void Form2::addTableEntry(int fileNumber, const QString& label) {
    QComboBox* list = tableList(fileNumber);
    const QSignalBlocker quiet(list);
    list->addItem(label);
    list->setCurrentIndex(-1);  // entries are only selected on purpose
}

void Form2::chooseTable(int fileNumber) {
    QComboBox* list = tableList(fileNumber);
    if (list->currentIndex() < 0) {
        return;
    }
    try {
        selectTable(fileNumber, list->currentIndex());
    } catch (...) {
        // A store built by "Next >" always has the chosen table; nothing to report here.
    }
}

void Form2::chooseMode(bool joinMode) {
    Combo3->setEnabled(joinMode);
    Combo4->setEnabled(joinMode);
}

void Form2::PushButton1_Click() {
    browseForOutputFolder(*this, *Text2, mSettingsNotice);
}

void Form2::PushButton6_Click() {
    mJoin.run();
}

void Form2::PushButton8_Click() {
    FailureReporter reporter(platform::messages(), locationText("Form2", "PushButton8_Click"));
    GuardedSteps steps(reporter);
    steps.step(100, [&] { mFirstWindow.show(); });
    steps.step(102, [&] { hide(); });
}

void Form2::closeEvent(QCloseEvent* event) {
    FailureReporter reporter(platform::messages(), locationText("Form2", "Form_QueryUnload"));
    GuardedSteps steps(reporter);
    event->accept();
    steps.step(100, [&] { platform::desktopServices().endProgram(); });
}

std::string Form2::outputFolderText() const {
    return platform::toUtf8(Text2->text());
}

bool Form2::isAppendModeSelected() const {
    return Option1->isChecked();
}

bool Form2::isJoinModeSelected() const {
    return Option2->isChecked();
}

int Form2::commonColumn1() const {
    return Combo3->currentIndex();
}

int Form2::commonColumn2() const {
    return Combo4->currentIndex();
}

const GridSource& Form2::grid1() const {
    return ListView1->table();
}

const GridSource& Form2::grid2() const {
    return ListView2->table();
}

void Form2::processPendingEvents() {
    platform::desktopServices().processPendingEvents();
}

}  // namespace veltrano
