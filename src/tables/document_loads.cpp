#include "tables/document_loads.h"

#include <chrono>

namespace veltrano {

namespace {

bool isDone(const std::future<ExtractedFile>& file) {
    return !file.valid() || file.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

}  // namespace

bool DocumentLoads::Progress::progress(double fraction) {
    mFraction = fraction;
    return !mCancelled;
}

ExtractedFile DocumentLoads::extract(const std::string& path, const WalkLines& lines,
                                     Progress& progress) {
    try {
        return extractTables(path, lines, progress);
    } catch (...) {
        progress.markFailed();
        throw;
    }
}

DocumentLoads::DocumentLoads(const std::string& path1, const std::string& path2) {
    mFile1 = std::async(std::launch::async,
                        [this, path1] { return extract(path1, kFile1Walk, mProgress1); });
    mFile2 = std::async(std::launch::async,
                        [this, path2] { return extract(path2, kFile2Walk, mProgress2); });
}

DocumentLoads::~DocumentLoads() {
    cancel();
}

bool DocumentLoads::isReady() const {
    return isDone(mFile1) && isDone(mFile2);
}

int DocumentLoads::percent() const {
    return static_cast<int>(50 * (mProgress1.fraction() + mProgress2.fraction()));
}

void DocumentLoads::discardFinished() {
    for (std::future<ExtractedFile>* file : {&mFile1, &mFile2}) {
        if (file->valid() && isDone(*file)) {
            try {
                file->get();
            } catch (...) {
                // Its failure was reported already, or the work was cancelled.
            }
        }
    }
}

ExtractedFile DocumentLoads::take(int fileNumber) {
    return (fileNumber == 1 ? mFile1 : mFile2).get();
}

}  // namespace veltrano
