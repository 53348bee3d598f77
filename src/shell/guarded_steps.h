#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veltrano {

class Messages;

// Where the failures of a guarded handler go.
class FailureSink {
public:
    virtual ~FailureSink() = default;
    virtual void onFailure(std::string_view description, int line) = 0;
};

// Shows each failure at once in the failure report, under the handler's location text.
class FailureReporter final : public FailureSink {
public:
    FailureReporter(Messages& messages, std::string_view location)
        : mMessages(messages), mLocation(location) {}
    void onFailure(std::string_view description, int line) override;

private:
    Messages& mMessages;
    std::string mLocation;
};

// Keeps failures of work done away from the windows, to be reported later in their order.
class FailureLog final : public FailureSink {
public:
    struct Entry {
        std::string description;
        int line;
    };
    void onFailure(std::string_view description, int line) override {
        mEntries.push_back({std::string(description), line});
    }
    void replayInto(FailureSink& sink) const {
        for (const Entry& entry : mEntries) {
            sink.onFailure(entry.description, entry.line);
        }
    }
    const std::vector<Entry>& entries() const { return mEntries; }

private:
    std::vector<Entry> mEntries;
};

// The description a caught exception is reported with.
std::string describeCurrentException();

// The numbered steps of a guarded handler. A step that fails is reported with its line
// number and the handler carries on with the next step; nothing done before is undone.
//
//     GuardedSteps steps(reporter);
//     steps.step(100, [&] { ApplySkin(...); });
//     if (steps.test(106, [&] { return FileExists(pointerFile); })) {
//         steps.step(108, [&] { loadPointer(); });
//     }
class GuardedSteps final {
public:
    explicit GuardedSteps(FailureSink& sink) : mSink(sink) {}

    // Runs action as step `line`; true when it completed.
    template <class Action>
    bool step(int line, Action&& action) {
        mLine = line;
        try {
            std::forward<Action>(action)();
            return true;
        } catch (...) {
            mSink.onFailure(describeCurrentException(), mLine);
            return false;
        }
    }

    // Evaluates a conditional's test. A failure while testing enters the conditional,
    // as though the test had passed.
    template <class Condition>
    bool test(int line, Condition&& condition) {
        mLine = line;
        try {
            return static_cast<bool>(std::forward<Condition>(condition)());
        } catch (...) {
            mSink.onFailure(describeCurrentException(), mLine);
            return true;
        }
    }

    // The number of the last step that has begun; 0 before the first.
    int currentLine() const { return mLine; }

private:
    FailureSink& mSink;
    int mLine = 0;
};

}  // namespace veltrano
