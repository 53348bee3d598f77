#include "platform/qt/qt_messages.h"

#include "platform/qt/desktop_services.h"
#include "platform/qt/qt_text.h"
#include "shell/application_title.h"
#include "shell/failure_report.h"

namespace veltrano::platform {

void QtMessages::showPlain(std::string_view text) {
    desktopServices().showMessage(
        {toQString(applicationTitle()), toQString(text), QMessageBox::NoIcon});
}

void QtMessages::showFailure(std::string_view text) {
    desktopServices().showMessage(
        {toQString(kFailureTitle), toQString(text), QMessageBox::Warning});
}

Messages& messages() {
    static QtMessages instance;
    return instance;
}

}  // namespace veltrano::platform
