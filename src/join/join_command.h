#pragma once

namespace veltrano {

class JoinSetupView;
class Messages;

// "Start Joining" of the join setup window: combines the two preview grids, one above the
// other (append mode) or side by side row by row (join mode), and puts the result in
// joined.html in the output folder. Every failure is reported with the number of the step it
// happened in, and the command carries on with the next step.
class JoinCommand final {
public:
    // Both must outlive the command; the window that owns the command implements view.
    JoinCommand(JoinSetupView& view, Messages& messages) : mView(view), mMessages(messages) {}

    // What Form2's PushButton6_Click does. A click handled while a run is under way (during
    // its event pass) returns without any effect.
    void run();

private:
    JoinSetupView& mView;
    Messages& mMessages;
    bool mJoinRunning = false;
};

}  // namespace veltrano
