#pragma once

#include <string_view>

namespace veltrano {

// The two kinds of message box the program shows. The windows' implementation shows real,
// modal boxes; tests install one that records instead of blocking.
class Messages {
public:
    virtual ~Messages() = default;
    // OK button only, no icon, titled with the application title.
    virtual void showPlain(std::string_view text) = 0;
    // The "Application Error" box: OK button only, warning icon, modal.
    virtual void showFailure(std::string_view text) = 0;
};

}  // namespace veltrano
