#pragma once

#include <atomic>
#include <future>
#include <string>

#include "tables/extraction.h"

namespace veltrano {

// Both files of one "Next >", read, parsed and walked side by side, one thread each, while
// the windows keep handling events. Destroying it asks unfinished work to stop and waits for
// it, which takes milliseconds unless a read is held up by the system.
class DocumentLoads final {
public:
    DocumentLoads(const std::string& path1, const std::string& path2);
    ~DocumentLoads();
    DocumentLoads(const DocumentLoads&) = delete;
    DocumentLoads& operator=(const DocumentLoads&) = delete;

    bool isReady() const;
    // Both files read, or one of them failed: then waiting for the other is pointless.
    bool isSettled() const { return isReady() || failed(1) || failed(2); }
    bool failed(int fileNumber) const {
        return (fileNumber == 1 ? mProgress1 : mProgress2).failed();
    }
    // How far both files have come together, 0 to 100.
    int percent() const;
    void cancel() { mCancelled = true; }
    bool wasCancelled() const { return mCancelled; }

    // The file's tables once ready (waits for them); rethrows what stopped its work.
    ExtractedFile take(int fileNumber);
    // Frees the tables of whichever file is read already (after a cancel, say).
    void discardFinished();

private:
    class Progress final : public ProgressReport {
    public:
        explicit Progress(const std::atomic<bool>& cancelled) : mCancelled(cancelled) {}
        bool progress(double fraction) override;
        double fraction() const { return mFraction; }
        void markFailed() { mFailed = true; }
        bool failed() const { return mFailed; }

    private:
        const std::atomic<bool>& mCancelled;
        std::atomic<double> mFraction = 0;
        std::atomic<bool> mFailed = false;
    };

    static ExtractedFile extract(const std::string& path, const WalkLines& lines,
                                 Progress& progress);

    std::atomic<bool> mCancelled = false;
    Progress mProgress1{mCancelled};
    Progress mProgress2{mCancelled};
    // Last, so that they are waited for before what the threads use goes away.
    std::future<ExtractedFile> mFile1;
    std::future<ExtractedFile> mFile2;
};

}  // namespace veltrano
