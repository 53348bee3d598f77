#pragma once

#include "shell/messages.h"

namespace veltrano::platform {

// Message boxes through the desktop services: plain ones titled with the application title,
// the failure report titled "Application Error" with the warning icon.
class QtMessages final : public Messages {
public:
    void showPlain(std::string_view text) override;
    void showFailure(std::string_view text) override;
};

// The instance the windows use.
Messages& messages();

}  // namespace veltrano::platform
