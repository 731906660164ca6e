#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "keyer/keyer_messages.h"
#include "operating/operating_rig.h"
#include "operating/status_coalescer.h"
#include "support/test_doubles.h"

namespace vantrel::operating {
namespace {

using platform::PostedMessage;

enum class Op { Post, Rest, Wake };

struct Step {
  Op op;
  PostedMessage message;
  std::vector<PostedMessage> passed;
};

constexpr PostedMessage Status(std::intptr_t buffer, std::intptr_t lines = 0x0F) {
  return {WM_KEYER_STATUS, buffer, lines};
}

struct CoalescingCase {
  const char* name;
  std::vector<Step> steps;
};

void PrintTo(const CoalescingCase& c, std::ostream* os) {
  *os << c.name;
}

class StatusCoalescerTest : public testing::TestWithParam<CoalescingCase> {};

TEST_P(StatusCoalescerTest, PassesWhatTheWindowNeeds) {
  platform::RecordingWindow window;
  StatusCoalescer coalescer(window);
  int index = 0;
  for (const Step& step : GetParam().steps) {
    if (step.op == Op::Post)
      coalescer.Post(step.message.message, step.message.wParam, step.message.lParam);
    if (step.op == Op::Rest) coalescer.Rest();
    if (step.op == Op::Wake) coalescer.Wake();
    EXPECT_EQ(window.Take(), step.passed) << "step " << index;
    ++index;
  }
}

const PostedMessage kIdleReport = Status(15);
const PostedMessage kBusyReport = Status(3);
const PostedMessage kPaddleReport = Status(15, 0x0E);
const PostedMessage kSpeed = {WM_KEYER_SPEED, 30, 0};
const PostedMessage kDecoded = {WM_KEYER_DECODED, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    Sequences, StatusCoalescerTest,
    testing::Values(CoalescingCase{"AwakeEveryReportPasses",
                                   {{Op::Post, kIdleReport, {kIdleReport}},
                                    {Op::Post, kIdleReport, {kIdleReport}},
                                    {Op::Post, kIdleReport, {kIdleReport}}}},
                    CoalescingCase{"RestingHoldsRepeatsBack",
                                   {{Op::Post, kIdleReport, {kIdleReport}},
                                    {Op::Rest, {}, {}},
                                    {Op::Post, kIdleReport, {}},
                                    {Op::Post, kIdleReport, {}}}},
                    CoalescingCase{"RestingBeforeAnyReportLetsTheFirstPass",
                                   {{Op::Rest, {}, {}},
                                    {Op::Post, kIdleReport, {kIdleReport}},
                                    {Op::Post, kIdleReport, {}}}},
                    CoalescingCase{"ANewValuePassesAndItsRepeatsAreHeld",
                                   {{Op::Post, kIdleReport, {kIdleReport}},
                                    {Op::Rest, {}, {}},
                                    {Op::Post, kBusyReport, {kBusyReport}},
                                    {Op::Post, kBusyReport, {}},
                                    {Op::Post, kIdleReport, {kIdleReport}}}},
                    CoalescingCase{"ActiveInputsAlwaysPass",
                                   {{Op::Post, kPaddleReport, {kPaddleReport}},
                                    {Op::Rest, {}, {}},
                                    {Op::Post, kPaddleReport, {kPaddleReport}},
                                    {Op::Post, kPaddleReport, {kPaddleReport}}}},
                    CoalescingCase{"OtherMessagesAlwaysPass",
                                   {{Op::Post, kIdleReport, {kIdleReport}},
                                    {Op::Rest, {}, {}},
                                    {Op::Post, kSpeed, {kSpeed}},
                                    {Op::Post, kDecoded, {kDecoded}},
                                    {Op::Post, kIdleReport, {}}}},
                    CoalescingCase{"WakingDeliversTheLastHeldBackOnce",
                                   {{Op::Post, kIdleReport, {kIdleReport}},
                                    {Op::Rest, {}, {}},
                                    {Op::Post, kIdleReport, {}},
                                    {Op::Post, kIdleReport, {}},
                                    {Op::Wake, {}, {kIdleReport}},
                                    {Op::Wake, {}, {}},
                                    {Op::Post, kIdleReport, {kIdleReport}}}},
                    CoalescingCase{"WakingWithNothingHeldBackPostsNothing",
                                   {{Op::Post, kIdleReport, {kIdleReport}},
                                    {Op::Rest, {}, {}},
                                    {Op::Wake, {}, {}}}},
                    CoalescingCase{"APassedReportSupersedesTheHeldBackOne",
                                   {{Op::Post, kIdleReport, {kIdleReport}},
                                    {Op::Rest, {}, {}},
                                    {Op::Post, kIdleReport, {}},
                                    {Op::Post, kBusyReport, {kBusyReport}},
                                    {Op::Wake, {}, {}}}}),
    [](const testing::TestParamInfo<CoalescingCase>& info) { return info.param.name; });

// Records the gate's calls with the queued text at each, to show a rest ends before a change.
class RecordingGate final : public StatusGate {
 public:
  explicit RecordingGate(const SendState& fields) : fields_(fields) {}
  void Rest() override { calls.push_back("rest"); }
  void Wake() override {
    if (calls.empty() || calls.back() != "wake:" + fields_.PendingText) {
      calls.push_back("wake:" + fields_.PendingText);
    }
  }
  std::vector<std::string> calls;

 private:
  const SendState& fields_;
};

struct GateRig : OperatingRig {
  GateRig() { logic.SetStatusGate(&gate); }
  std::vector<std::string> TakeCalls() { return std::exchange(gate.calls, {}); }
  RecordingGate gate{logic.State()};
};

// The window rests only after a report that changed nothing: not while the countdown runs after
// a hand-over, and not on the first idle report after the text, which marks the next text for
// a clear. Stopping unmarks it, so the next idle report changes something again.
TEST(StatusGateTest, RestsOnlyAfterAReportThatChangedNothing) {
  GateRig rig;
  rig.Type("ab");
  rig.TakeCalls();
  const struct {
    int buffer;
    bool rests;
  } reports[] = {{kSending, false}, {kSending, false}, {kSending, false}, {kSending, false},
                 {kSending, false}, {kSending, false}, {kIdle, false},    {kIdle, true},
                 {kIdle, true},     {5, true},         {kIdle, true}};
  int index = 0;
  for (const auto& report : reports) {
    rig.Status(report.buffer);
    const std::vector<std::string> calls = rig.TakeCalls();
    EXPECT_EQ(!calls.empty() && calls.back() == "rest", report.rests) << "report " << index;
    ++index;
  }
  EXPECT_EQ(rig.keyer.sent, "AB");
  rig.logic.StopTransmission();
  rig.Status(kIdle);
  EXPECT_NE(rig.TakeCalls().back(), "rest");
  rig.Status(kIdle);
  EXPECT_EQ(rig.TakeCalls().back(), "rest");
}

// A CQ repeat waiting for its timer rests; the timer's call wakes the window.
TEST(StatusGateTest, ACqRepeatWaitingForItsTimerRests) {
  GateRig rig;
  rig.Press(Key::Z, {.ctrl = true});
  rig.SendQueued();
  ASSERT_TRUE(rig.window.timer.has_value());
  rig.Status(kIdle);
  EXPECT_EQ(rig.TakeCalls().back(), "rest");
  rig.logic.OnCqTimer();
  EXPECT_EQ(rig.TakeCalls().front(), "wake:");
  EXPECT_FALSE(rig.State().PendingText.empty());
}

// Typing wakes the window before the character is queued, so a report held back meanwhile is
// delivered after the character and hands it over.
TEST(StatusGateTest, TypingWakesBeforeTheTextIsQueued) {
  GateRig rig;
  rig.Status(kIdle, 3);
  ASSERT_EQ(rig.TakeCalls().back(), "rest");
  rig.Type("e");
  EXPECT_EQ(rig.TakeCalls(), std::vector<std::string>{"wake:"});
  EXPECT_EQ(rig.State().PendingText, "E");
}

}  // namespace
}  // namespace vantrel::operating
