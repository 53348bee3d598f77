#include "platform/qt/common_dialog.h"

#include "platform/qt/desktop_services.h"

namespace veltrano::platform {

void CommonDialog::ShowOpen() {
    const QString chosen =
        desktopServices().getOpenFileName(mOwner, {FileName, Flags, DialogTitle, Filter});
    if (!chosen.isEmpty()) {
        FileName = chosen;
    }
}

}  // namespace veltrano::platform
