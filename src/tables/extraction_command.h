#pragma once

#include <memory>
#include <vector>

namespace veltrano {

class DocumentLoads;
class Form1;
class GuardedSteps;
struct ExtractedFile;

// "Next >": checks both paths, reads every table of both files into the join setup window's
// store and table lists, selects the first table of each, and moves to that window.
//
// Both files are read, parsed and walked off the window thread, side by side; the command
// waits for them while the windows keep handling events, shows a cancellable progress
// display when that takes longer than half a second, and changes nothing until both files
// have been read: a cancelled command or an unreadable file leaves the store and the windows
// as they were.
class ExtractionCommand final {
public:
    explicit ExtractionCommand(Form1& form);
    ~ExtractionCommand();

    void run();
    // True while the files are being read; the main window refuses its commands meanwhile.
    bool isLoading() const { return mLoads != nullptr; }

private:
    // Waits until both files are read or one cannot be; false when the user cancelled or the
    // program is ending.
    bool waitForBothFiles();
    void putIntoStore(int fileNumber, ExtractedFile& file, GuardedSteps& steps);

    Form1& mForm;
    std::unique_ptr<DocumentLoads> mLoads;
    // Cancelled work still finishing a parse; dropped once done, so no one waits for it.
    std::vector<std::unique_ptr<DocumentLoads>> mAbandoned;
};

}  // namespace veltrano
