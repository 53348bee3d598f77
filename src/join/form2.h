#pragma once

#include <QWidget>

#include "join/join_command.h"
#include "join/join_setup_view.h"
#include "join/settings_notice.h"
#include "tables/table_store.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace veltrano {

class PreviewGrid;
class WindowPointer;

// The join setup window: one table and one common column per file, the two preview grids,
// the mode, the output folder and "Start Joining". It owns the table store that "Next >"
// fills. Closing it ends the program.
class Form2 final : public QWidget, private JoinSetupView {
public:
    // Creates the controls and runs the load steps; firstWindow is shown by "< Back".
    explicit Form2(QWidget& firstWindow);
    ~Form2() override;

    TableStore mStore;

    QPushButton* PushButton8;  // "< Back"
    QGroupBox* Frame2;         // "File #1"
    QLabel* Label3;
    QComboBox* Combo1;  // tables of file #1
    QLabel* Label1;
    QComboBox* Combo3;       // common column of file #1
    PreviewGrid* ListView1;  // file #1's chosen table
    QGroupBox* Frame1;       // "File #2"
    QLabel* Label2;
    QComboBox* Combo2;  // tables of file #2
    QLabel* Label4;
    QComboBox* Combo4;         // common column of file #2
    PreviewGrid* ListView2;    // file #2's chosen table
    QGroupBox* Frame3;         // "Join Option"
    QRadioButton* Option1;     // append mode
    QRadioButton* Option2;     // join mode
    QGroupBox* Frame4;         // "Save Results To This Folder"
    QLineEdit* Text2;          // output folder
    QPushButton* PushButton1;  // "..."
    QPushButton* PushButton6;  // "Start Joining"

    WindowPointer& pointer() { return *mPointer; }

    // File #fileNumber's controls: table choice list, column choice list, preview grid.
    QComboBox* tableList(int fileNumber) const { return fileNumber == 1 ? Combo1 : Combo2; }
    QComboBox* columnList(int fileNumber) const { return fileNumber == 1 ? Combo3 : Combo4; }
    PreviewGrid* grid(int fileNumber) const { return fileNumber == 1 ? ListView1 : ListView2; }

    // The table choice lists as "Next >" fills them: entries are added unselected. Clearing
    // a file's list also empties its column choice list and preview grid.
    void clearTableList(int fileNumber);
    void addTableEntry(int fileNumber, const QString& label);
    // Selects an entry of file #fileNumber's table choice list and runs the table choice,
    // as a user's pick does; failures reach the caller.
    void selectTable(int fileNumber, int position);

    void PushButton1_Click();
    void PushButton6_Click();
    void PushButton8_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void Form_Load();
    void chooseTable(int fileNumber);
    void chooseMode(bool joinMode);

    // What "Start Joining" reads.
    std::string outputFolderText() const override;
    bool isAppendModeSelected() const override;
    bool isJoinModeSelected() const override;
    int commonColumn1() const override;
    int commonColumn2() const override;
    const GridSource& grid1() const override;
    const GridSource& grid2() const override;
    void processPendingEvents() override;

    QWidget& mFirstWindow;
    WindowPointer* mPointer;
    JoinCommand mJoin;
    SettingsNotice mSettingsNotice;
};

}  // namespace veltrano
