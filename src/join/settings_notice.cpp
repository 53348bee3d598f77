#include "join/settings_notice.h"

#include "platform/qt/qt_text.h"
#include "platform/qt/settings_store.h"
#include "shell/messages.h"

namespace veltrano {

void SettingsNotice::saved(bool ok) {
    if (ok || mSaid) {
        return;
    }
    mSaid = true;
    mMessages.showPlain("The settings cannot be saved in " +
                        platform::toUtf8(platform::SettingsStore::fileName()) +
                        ". Veltrano works on, but will not remember the output folder next time.");
}

}  // namespace veltrano
