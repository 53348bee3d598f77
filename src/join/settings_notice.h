#pragma once

namespace veltrano {

class Messages;

// Tells the user the first time the settings cannot be saved, and never again: the output
// folder box saves at every change. The join setup window keeps the one of the run.
class SettingsNotice final {
public:
    // messages must outlive the notice.
    explicit SettingsNotice(Messages& messages) : mMessages(messages) {}

    // Takes what a save returned.
    void saved(bool ok);

private:
    Messages& mMessages;
    bool mSaid = false;
};

}  // namespace veltrano
