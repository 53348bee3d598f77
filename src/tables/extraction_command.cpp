#include "tables/extraction_command.h"

#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>

#include <optional>

#include "join/form2.h"
#include "platform/qt/desktop_services.h"
#include "platform/qt/progress_display.h"
#include "platform/qt/qt_messages.h"
#include "platform/qt/qt_text.h"
#include "shell/failure_report.h"
#include "shell/form1.h"
#include "shell/guarded_steps.h"
#include "shell/shell_functions.h"
#include "tables/cell_key.h"
#include "tables/document_loads.h"

namespace veltrano {

namespace {

constexpr int kPollMs = 40;

// The step numbers of the part of the command that differs between the files.
struct FileSteps {
    int walk;
    int addEntry;
    int testEntries;
    int selectFirst;
};
constexpr FileSteps kFile1Steps{126, 146, 154, 156};
constexpr FileSteps kFile2Steps{164, 184, 192, 194};

}  // namespace

ExtractionCommand::ExtractionCommand(Form1& form) : mForm(form) {}

ExtractionCommand::~ExtractionCommand() = default;

void ExtractionCommand::run() {
    if (isLoading()) {
        return;
    }
    std::erase_if(mAbandoned, [](const auto& loads) { return loads->isReady(); });
    FailureReporter reporter(platform::messages(), locationText("Form1", "PushButton7_Click"));
    GuardedSteps steps(reporter);
    const std::string path1 = platform::toUtf8(mForm.Text1->text());
    const std::string path2 = platform::toUtf8(mForm.Text2->text());
    if (steps.test(100, [&] { return !FileExists(path1); })) {
        steps.step(202, [] { platform::messages().showPlain("HTML File #1 doesn't exist."); });
        return;
    }
    if (steps.test(102, [&] { return !FileExists(path2); })) {
        steps.step(200, [] { platform::messages().showPlain("HTML File #2 doesn't exist."); });
        return;
    }

    if (!steps.step(104, [&] { mLoads = std::make_unique<DocumentLoads>(path1, path2); })) {
        return;
    }
    const bool settled = waitForBothFiles();
    std::unique_ptr<DocumentLoads> loads = std::move(mLoads);
    const int unreadable = loads->failed(1) ? 1 : (loads->failed(2) ? 2 : 0);
    if (settled && unreadable != 0) {
        // Reported as soon as it is known; the other file's work is stopped.
        steps.step(unreadable == 1 ? 104 : 158, [&] { loads->take(unreadable); });
    }
    if (!settled || unreadable != 0) {
        // The work stops within milliseconds and frees what it read; a file that was read
        // already is dropped now. Only a read the system holds up keeps a thread waiting,
        // which is not waited for here.
        loads->cancel();
        loads->discardFinished();
        mAbandoned.push_back(std::move(loads));
        return;  // nothing has changed
    }
    std::optional<ExtractedFile> file1;
    std::optional<ExtractedFile> file2;
    if (!steps.step(104, [&] { file1 = loads->take(1); }) ||
        !steps.step(158, [&] { file2 = loads->take(2); })) {
        return;
    }

    Form2* form2 = nullptr;
    steps.step(110, [&] {
        form2 = &mForm.form2();
        form2->clearTableList(1);
    });
    if (form2 == nullptr) {
        return;
    }
    steps.step(112, [&] { form2->clearTableList(2); });
    steps.step(114, [&] { form2->mStore.replaceAll(); });
    file1->failures.replayInto(reporter);
    putIntoStore(1, *file1, steps);
    file2->failures.replayInto(reporter);
    putIntoStore(2, *file2, steps);
    steps.step(196, [&] { form2->show(); });
    steps.step(198, [&] { mForm.hide(); });
}

void ExtractionCommand::putIntoStore(int fileNumber, ExtractedFile& file, GuardedSteps& steps) {
    const FileSteps& lines = fileNumber == 1 ? kFile1Steps : kFile2Steps;
    Form2& form2 = mForm.form2();
    steps.step(lines.walk,
               [&] { setStoredFile(form2.mStore, fileNumber, std::move(file.tables)); });
    steps.step(lines.addEntry, [&] {
        for (const std::int32_t table : file.listedTables) {
            form2.addTableEntry(fileNumber, platform::toQString(tableLabel(table)));
        }
    });
    if (steps.test(lines.testEntries, [&] { return form2.tableList(fileNumber)->count() > 0; })) {
        steps.step(lines.selectFirst, [&] { form2.selectTable(fileNumber, 0); });
    }
}

bool ExtractionCommand::waitForBothFiles() {
    const std::unique_ptr<platform::ProgressDisplay> display =
        platform::desktopServices().showProgress(
            &mForm, QStringLiteral("Reading the tables of both HTML files..."));
    QEventLoop waiting;
    QTimer poll;
    poll.setInterval(kPollMs);
    QObject::connect(&poll, &QTimer::timeout, &waiting, [&] {
        if (mLoads->isSettled()) {
            waiting.quit();
            return;
        }
        display->setPercent(mLoads->percent());
        if (display->wasCancelled()) {
            mLoads->cancel();
            waiting.quit();
        }
    });
    poll.start();
    waiting.exec();
    // The loop also ends when the program is ending: then the work is abandoned.
    return mLoads->isSettled() && !mLoads->wasCancelled();
}

}  // namespace veltrano
