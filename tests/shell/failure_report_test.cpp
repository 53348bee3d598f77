#include "shell/failure_report.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "shell/guarded_steps.h"
#include "shell/messages.h"

namespace veltrano {
namespace {

struct RecordedMessages final : Messages {
    std::vector<std::string> plain;
    std::vector<std::string> failures;
    void showPlain(std::string_view text) override { plain.emplace_back(text); }
    void showFailure(std::string_view text) override { failures.emplace_back(text); }
};

TEST(FailureReport, ComposesTheMessageByteForByte) {
    EXPECT_EQ(composeFailureMessage("File not found", locationText("Form1", "Form_Load"), 108),
              "File not found\r\nin Veltrano2021/08/31.Form1.Form_Load at line 108\r\r"
              "Please email screenshot of this message to support@kestrava.com");
    // An empty description leaves the first line empty.
    EXPECT_EQ(composeFailureMessage("", "in X ", 100).substr(0, 9), "\r\nin X at");
}

TEST(GuardedSteps, ReportsEachFailureWithItsLineAndCarriesOn) {
    RecordedMessages messages;
    FailureReporter reporter(messages, locationText("Form2", "PushButton1_Click"));
    GuardedSteps steps(reporter);
    std::vector<int> ran;

    EXPECT_EQ(steps.currentLine(), 0);
    EXPECT_FALSE(steps.step(100, [] { throw std::runtime_error("first"); }));
    EXPECT_TRUE(steps.step(102, [&] { ran.push_back(102); }));
    EXPECT_FALSE(steps.step(104, [&] {
        ran.push_back(104);  // done before the failure: stays done
        throw std::runtime_error("second");
    }));
    steps.step(106, [&] { ran.push_back(106); });

    EXPECT_EQ(ran, (std::vector<int>{102, 104, 106}));
    ASSERT_EQ(messages.failures.size(), 2U);
    EXPECT_TRUE(messages.failures[0].starts_with(
        "first\r\nin Veltrano2021/08/31.Form2.PushButton1_Click at line 100\r\r"));
    EXPECT_NE(messages.failures[1].find("second\r\n"), std::string::npos);
    EXPECT_NE(messages.failures[1].find("at line 104\r\r"), std::string::npos);
    EXPECT_EQ(steps.currentLine(), 106);
}

TEST(GuardedSteps, AFailingConditionEntersTheConditional) {
    FailureLog log;
    GuardedSteps steps(log);
    EXPECT_TRUE(steps.test(106, []() -> bool { throw std::runtime_error("cannot test"); }));
    EXPECT_FALSE(steps.test(108, [] { return false; }));
    ASSERT_EQ(log.entries().size(), 1U);
    EXPECT_EQ(log.entries()[0].line, 106);
}

TEST(GuardedSteps, DescribesOutOfMemoryAndUnknownFailures) {
    FailureLog log;
    GuardedSteps steps(log);
    steps.step(100, [] { throw std::bad_alloc(); });
    steps.step(102, [] { throw 7; });
    ASSERT_EQ(log.entries().size(), 2U);
    EXPECT_EQ(log.entries()[0].description, "Out of memory");
    EXPECT_EQ(log.entries()[1].description, "Unknown failure");
}

TEST(FailureLog, ReplaysInOrderIntoAReporter) {
    FailureLog log;
    log.onFailure("a", 138);
    log.onFailure("b", 176);
    RecordedMessages messages;
    FailureReporter reporter(messages, "in L ");
    log.replayInto(reporter);
    ASSERT_EQ(messages.failures.size(), 2U);
    EXPECT_EQ(messages.failures[0].substr(0, 19), "a\r\nin L at line 138");
    EXPECT_EQ(messages.failures[1].substr(0, 19), "b\r\nin L at line 176");
}

}  // namespace
}  // namespace veltrano
