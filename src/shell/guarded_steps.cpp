#include "shell/guarded_steps.h"

#include <exception>
#include <new>

#include "shell/failure_report.h"

namespace veltrano {

void FailureReporter::onFailure(std::string_view description, int line) {
    ReportFailure(mMessages, description, mLocation, line);
}

std::string describeCurrentException() {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return "Out of memory";
    } catch (const std::exception& failure) {
        return failure.what();
    } catch (...) {
        return "Unknown failure";
    }
}

}  // namespace veltrano
