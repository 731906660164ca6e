#include <gtest/gtest.h>

#include "operating/operating_rig.h"

namespace vantrel::operating {
namespace {

constexpr Modifiers kCtrl{false, true, false};
constexpr Modifiers kCtrlAlt{true, true, false};

// Sends the call, then fires the repeat timer whenever one is pending, until the repeat stops
// or `maxCalls` calls have gone out. Returns the number of calls.
int RunRepeat(OperatingRig& rig, int maxCalls) {
  int calls = 1;
  for (;;) {
    if (rig.keyer.firmware >= 20) {
      rig.SendQueued();
    } else {
      rig.logic.OnKeyerMessage(WM_KEYER_TEXT_DONE, 0, 0);
    }
    if (!rig.window.timer || calls == maxCalls) return calls;
    rig.logic.OnCqTimer();
    ++calls;
  }
}

struct RepeatCase {
  const char* name;
  unsigned firmware;
  float interval;
  unsigned milliseconds;
};

void PrintTo(const RepeatCase& c, std::ostream* os) {
  *os << c.name;
}

class CtrlZTest : public testing::TestWithParam<RepeatCase> {};

TEST_P(CtrlZTest, MakesTwentyOneCallsAtTheInterval) {
  OperatingRig rig;
  rig.keyer.firmware = GetParam().firmware;
  rig.settings.CqLoopInterval = GetParam().interval;
  rig.settings.FnMsgA[0] = "CQ $M";
  EXPECT_TRUE(rig.Press(Key::Z, kCtrl));
  EXPECT_EQ(rig.State().CqRepeatCount, 20);

  EXPECT_EQ(RunRepeat(rig, 100), 21);
  std::string expected;
  for (int i = 0; i < 21; ++i) expected += "CQ JA1ZZZ";
  EXPECT_EQ(rig.keyer.sent, expected);
  EXPECT_EQ(rig.window.timerStarts, std::vector<unsigned>(20, GetParam().milliseconds));
  EXPECT_EQ(rig.State().CqRepeatCount, 0);
  EXPECT_FALSE(rig.window.timer.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Firmware, CtrlZTest,
    testing::Values(RepeatCase{"paced", 23, 5.0f, 5000}, RepeatCase{"paced_fw20", 20, 2.5f, 2500},
                    RepeatCase{"pc_timed", 10, 5.0f, 5000}, RepeatCase{"no_pause", 23, 0.0f, 0}),
    [](const testing::TestParamInfo<RepeatCase>& info) { return std::string(info.param.name); });

TEST(CqRepeatTest, TheTimerStartsOnlyAfterTheLastCharacterIsHandedOver) {
  OperatingRig rig;
  rig.settings.FnMsgA[0] = "CQ";
  rig.Press(Key::Z, kCtrl);
  rig.Status(kSending, 4);
  EXPECT_EQ(rig.keyer.sent, "CQ");
  rig.Status(kSending, 2);
  EXPECT_FALSE(rig.window.timer.has_value());
  rig.Status(kSending);
  EXPECT_TRUE(rig.window.timer.has_value());
  EXPECT_EQ(rig.State().CqRepeatCount, 19);
  rig.Status(kIdle, 10);
  EXPECT_EQ(rig.window.timerStarts.size(), 1u);
}

TEST(CqRepeatTest, CtrlAltZRepeatsWithoutEnd) {
  OperatingRig rig;
  rig.Press(Key::Z, kCtrlAlt);
  EXPECT_EQ(RunRepeat(rig, 50), 50);
  EXPECT_EQ(rig.State().CqRepeatCount, -1);
  EXPECT_TRUE(rig.window.timer.has_value());
}

TEST(CqRepeatTest, CtrlZStopsWhatIsQueuedAndCallsAtOnce) {
  OperatingRig rig;
  rig.Type("abc");
  rig.Press(Key::Z, kCtrl);
  EXPECT_EQ(rig.keyer.calls, (std::vector<std::string>{"StopSending", "SetSpeed 20"}));
  EXPECT_EQ(rig.State().PendingText, "CQ DE JA1ZZZ K");
}

TEST(CqRepeatTest, RestartingKeepsAPendingTimer) {
  OperatingRig rig;
  rig.Press(Key::Z, kCtrl);
  rig.SendQueued();
  ASSERT_TRUE(rig.window.timer.has_value());
  rig.Press(Key::Z, kCtrlAlt);
  EXPECT_TRUE(rig.window.timer.has_value());
  EXPECT_EQ(rig.State().CqRepeatCount, -1);
}

TEST(CqRepeatTest, CallsBankAsFirstMessageWhileCtrlShowsBankB) {
  OperatingRig rig;
  rig.keyer.firmware = 10;
  rig.Press(Key::Control, kCtrl);
  rig.Press(Key::Z, kCtrl);
  EXPECT_EQ(rig.keyer.sent, "CQ DE JA1ZZZ K");
}

TEST(CqRepeatTest, AnEmptyFirstMessageRunsSilentlyOnNewFirmware) {
  OperatingRig rig;
  rig.settings.FnMsgA[0].clear();
  rig.Press(Key::Z, kCtrl);
  EXPECT_EQ(RunRepeat(rig, 100), 21);
  EXPECT_TRUE(rig.keyer.sent.empty());
  EXPECT_EQ(rig.window.timerStarts.size(), 20u);
}

TEST(CqRepeatTest, AnEmptyFirstMessageStallsOnOldFirmware) {
  OperatingRig rig;
  rig.keyer.firmware = 10;
  rig.settings.FnMsgA[0].clear();
  rig.Press(Key::Z, kCtrl);
  EXPECT_TRUE(rig.keyer.sent.empty());
  EXPECT_FALSE(rig.window.timer.has_value());
  EXPECT_EQ(rig.State().CqRepeatCount, 20);
}

struct InputCase {
  const char* name;
  int countBefore;
  std::intptr_t input;
  int countAfter;
  bool sendsCall;
};

void PrintTo(const InputCase& c, std::ostream* os) {
  *os << c.name;
}

class KeyerInputTest : public testing::TestWithParam<InputCase> {};

TEST_P(KeyerInputTest, StartsOnlyWhenIdleAndEndsOnAnyOtherValue) {
  OperatingRig rig;
  rig.State().CqRepeatCount = GetParam().countBefore;
  rig.State().PendingText = "QUEUED";
  rig.State().CqTimer = true;
  rig.window.timer = 5000;
  rig.logic.OnKeyerMessage(WM_KEYER_INPUT, GetParam().input, 0);
  EXPECT_EQ(rig.State().CqRepeatCount, GetParam().countAfter);
  if (GetParam().sendsCall) {
    EXPECT_EQ(rig.State().PendingText, "CQ DE JA1ZZZ K");
    EXPECT_EQ(rig.keyer.calls.front(), "StopSending");
  } else if (GetParam().input == 13) {
    EXPECT_EQ(rig.State().PendingText, "QUEUED");
    EXPECT_TRUE(rig.keyer.calls.empty());
    EXPECT_TRUE(rig.window.timer.has_value());
  } else {
    EXPECT_TRUE(rig.State().PendingText.empty());
    EXPECT_TRUE(rig.keyer.calls.empty());
    EXPECT_FALSE(rig.window.timer.has_value());
    EXPECT_FALSE(rig.State().CqTimer);
  }
}

INSTANTIATE_TEST_SUITE_P(Inputs, KeyerInputTest,
                         testing::Values(InputCase{"start_when_idle", 0, 13, 20, true},
                                         InputCase{"ignored_while_counting", 7, 13, 7, false},
                                         InputCase{"ignored_while_endless", -1, 13, -1, false},
                                         InputCase{"other_ends", 7, 14, 0, false},
                                         InputCase{"zero_ends_endless", -1, 0, 0, false},
                                         InputCase{"other_when_idle", 0, 1, 0, false}),
                         [](const testing::TestParamInfo<InputCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(CqRepeatTest, EscapeInTheInputLineEndsIt) {
  OperatingRig rig;
  rig.Press(Key::Z, kCtrl);
  EXPECT_TRUE(rig.Press(Key::Escape));
  EXPECT_EQ(rig.State().CqRepeatCount, 0);
  EXPECT_TRUE(rig.State().PendingText.empty());
  RunRepeat(rig, 100);
  EXPECT_TRUE(rig.window.timerStarts.empty());
}

TEST(CqRepeatTest, EscapeElsewhereOnlyMovesTheFocus) {
  OperatingRig rig;
  rig.Press(Key::Z, kCtrl);
  rig.window.focus = Control::Log;
  rig.keyer.TakeCalls();
  EXPECT_TRUE(rig.Press(Key::Escape));
  EXPECT_EQ(rig.window.focus, Control::InputLine);
  EXPECT_EQ(rig.State().CqRepeatCount, 20);
  EXPECT_TRUE(rig.keyer.calls.empty());
}

// The Stop button runs the stop action alone: it drops the call and its pending timer but
// keeps the count, so with firmware 20 and later the next passing report schedules the next
// call.
TEST(CqRepeatTest, TheStopButtonKeepsTheCount) {
  OperatingRig rig;
  rig.Press(Key::Z, kCtrl);
  rig.SendQueued();
  ASSERT_TRUE(rig.window.timer.has_value());
  EXPECT_EQ(rig.State().CqRepeatCount, 19);

  rig.logic.StopTransmission();
  EXPECT_FALSE(rig.window.timer.has_value());
  EXPECT_FALSE(rig.State().CqTimer);
  EXPECT_EQ(rig.State().CqRepeatCount, 19);

  rig.Status(kIdle);
  EXPECT_TRUE(rig.window.timer.has_value());
  EXPECT_EQ(rig.State().CqRepeatCount, 18);
}

TEST(CqRepeatTest, TheStopButtonStallsTheRepeatOnOldFirmware) {
  OperatingRig rig;
  rig.keyer.firmware = 10;
  rig.Press(Key::Z, kCtrl);
  rig.logic.StopTransmission();
  EXPECT_EQ(rig.State().CqRepeatCount, 20);
  EXPECT_FALSE(rig.window.timer.has_value());
}

}  // namespace
}  // namespace vantrel::operating
