#include <gtest/gtest.h>

#include "keyer/morse_code.h"
#include "operating/operating_rig.h"

namespace vantrel::operating {
namespace {

struct SpeedReport {
  std::intptr_t halfDot;
  std::intptr_t shorter;
  unsigned wpm;
  std::vector<std::string> calls;
};

struct SpeedSequence {
  const char* name;
  std::vector<SpeedReport> reports;
};

void PrintTo(const SpeedSequence& c, std::ostream* os) {
  *os << c.name;
}

class SpeedFromInterfaceTest : public testing::TestWithParam<SpeedSequence> {};

// An accepted value reaches the engine when the speed box changes.
TEST_P(SpeedFromInterfaceTest, FollowsTheInterfaceWithinFiveToFifty) {
  OperatingRig rig;
  rig.window.controls.speedBox = 25;
  rig.window.fields.WPM = 25;
  for (const SpeedReport& report : GetParam().reports) {
    rig.logic.OnKeyerMessage(WM_KEYER_SPEED, report.halfDot, report.shorter);
    EXPECT_EQ(rig.window.fields.WPM, report.wpm) << report.halfDot;
    EXPECT_EQ(rig.window.controls.speedBox, report.wpm) << report.halfDot;
    EXPECT_EQ(rig.keyer.TakeCalls(), report.calls) << report.halfDot;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Reports, SpeedFromInterfaceTest,
    testing::Values(SpeedSequence{"flagged_step_up",
                                  {{30, 0, 20, {"SetSpeed 20"}}, {29, 1, 21, {"SetSpeed 21"}}}},
                    SpeedSequence{"unflagged", {{30, 0, 20, {"SetSpeed 20"}}, {29, 0, 20, {}}}},
                    SpeedSequence{"too_fast",
                                  {{30, 0, 20, {"SetSpeed 20"}}, {10, 1, 20, {"SetSpeed 20"}}}},
                    SpeedSequence{"too_slow", {{200, 0, 25, {"SetSpeed 25"}}}},
                    SpeedSequence{"refusal_keeps_last_value",
                                  {{30, 0, 20, {"SetSpeed 20"}},
                                   {10, 0, 20, {"SetSpeed 20"}},
                                   {29, 1, 21, {"SetSpeed 21"}}}},
                    SpeedSequence{"first_report_flagged", {{29, 1, 20, {"SetSpeed 20"}}}},
                    SpeedSequence{"zero_ignored", {{0, 0, 25, {}}}}),
    [](const testing::TestParamInfo<SpeedSequence>& info) { return std::string(info.param.name); });

TEST(SpeedFromInterfaceTest, TheLastValueIsSharedAcrossReports) {
  OperatingRig rig;
  rig.logic.OnKeyerMessage(WM_KEYER_SPEED, 30, 0);
  rig.logic.OnKeyerMessage(WM_KEYER_SPEED, 10, 0);
  EXPECT_EQ(rig.logic.LastSpeedValue(), 30u);
}

struct StepCase {
  const char* name;
  unsigned message;
  unsigned before;
  unsigned engine;
  unsigned after;
};

void PrintTo(const StepCase& c, std::ostream* os) {
  *os << c.name;
}

class SpeedStepMessageTest : public testing::TestWithParam<StepCase> {};

TEST_P(SpeedStepMessageTest, StaysWithinFiveToFifty) {
  OperatingRig rig;
  rig.keyer.speed = GetParam().engine;
  rig.window.fields.WPM = GetParam().before;
  rig.window.controls.speedBox = GetParam().before;
  rig.logic.OnKeyerMessage(GetParam().message, 0, 0);
  EXPECT_EQ(rig.window.fields.WPM, GetParam().after);
  EXPECT_EQ(rig.window.controls.speedBox, GetParam().after);
  EXPECT_EQ(rig.keyer.speed, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, SpeedStepMessageTest,
    testing::Values(StepCase{"up", WM_KEYER_SPEED_UP, 20, 20, 21},
                    StepCase{"up_at_50", WM_KEYER_SPEED_UP, 50, 50, 50},
                    StepCase{"down", WM_KEYER_SPEED_DOWN, 20, 20, 19},
                    StepCase{"down_at_5", WM_KEYER_SPEED_DOWN, 5, 5, 5},
                    StepCase{"reset_from_40", WM_KEYER_SPEED_RESET, 40, 40, 20},
                    StepCase{"reset_from_5", WM_KEYER_SPEED_RESET, 5, 5, 20}),
    [](const testing::TestParamInfo<StepCase>& info) { return std::string(info.param.name); });

struct DecodedCase {
  const char* name;
  std::intptr_t index;
  std::intptr_t lParam;
  const char* log;
  Control focus;
};

void PrintTo(const DecodedCase& c, std::ostream* os) {
  *os << c.name;
}

class DecodedDisplayTest : public testing::TestWithParam<DecodedCase> {};

TEST_P(DecodedDisplayTest, AppendsAtTheEndOfTheLogWithTheFocusThere) {
  OperatingRig rig;
  rig.window.controls.log = "TU\r\n";
  rig.window.inputLine = "AB";
  rig.logic.OnKeyerMessage(WM_KEYER_DECODED, GetParam().index, GetParam().lParam);
  EXPECT_EQ(rig.window.controls.log, GetParam().log);
  EXPECT_EQ(rig.window.focus, GetParam().focus);
  EXPECT_EQ(rig.window.inputLine, "AB");
  EXPECT_TRUE(rig.keyer.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Characters, DecodedDisplayTest,
    testing::Values(DecodedCase{"latin", 10, 0, "TU\r\nK", Control::Log},
                    DecodedCase{"lower_case", 26, 0, "TU\r\na", Control::Log},
                    DecodedCase{"digit", 57, 0, "TU\r\n1", Control::Log},
                    DecodedCase{"space", 67, 0, "TU\r\n ", Control::Log},
                    DecodedCase{"first_katakana", keyer::kFirstKatakanaIndex, 0, "TU\r\n\xB1",
                                Control::Log},
                    DecodedCase{"last", 125, 0, "TU\r\n\xA3", Control::Log},
                    DecodedCase{"high_half_set", 10, 0x10000, "TU\r\n", Control::InputLine},
                    DecodedCase{"low_half_ignored", 10, 0xFFFF, "TU\r\nK", Control::Log},
                    DecodedCase{"past_the_list", 126, 0, "TU\r\n", Control::InputLine},
                    DecodedCase{"negative", -1, 0, "TU\r\n", Control::InputLine}),
    [](const testing::TestParamInfo<DecodedCase>& info) { return std::string(info.param.name); });

TEST(DecodedDisplayTest, CharactersFollowEachOtherWithoutSeparator) {
  OperatingRig rig;
  for (std::intptr_t index : {2, 16, 66, keyer::kFirstKatakanaIndex + 1}) {
    rig.logic.OnKeyerMessage(WM_KEYER_DECODED, index, 0);
  }
  EXPECT_EQ(rig.window.controls.log, "CQ@\xB2");
  rig.window.ReadControls();
  EXPECT_EQ(rig.window.fields.LogText, "CQ@\xB2");
}

TEST(TextDoneTest, OlderFirmwareMovesTheWholeInputLineToTheLog) {
  OperatingRig rig;
  rig.keyer.firmware = 10;
  rig.Type("cq");
  EXPECT_EQ(rig.keyer.sent, "CQ");
  rig.logic.OnKeyerMessage(WM_KEYER_TEXT_DONE, 0, 0);
  EXPECT_EQ(rig.window.controls.log, "CQ");
  EXPECT_TRUE(rig.window.inputLine.empty());
  EXPECT_FALSE(rig.window.timer.has_value());
}

TEST(TextDoneTest, BlockModeLeavesTheInputLine) {
  OperatingRig rig;
  rig.keyer.firmware = 10;
  rig.SetSendMode(kBlockMode);
  rig.window.inputLine = "NEXT";
  rig.logic.OnKeyerMessage(WM_KEYER_TEXT_DONE, 0, 0);
  EXPECT_EQ(rig.window.inputLine, "NEXT");
  EXPECT_TRUE(rig.window.controls.log.empty());
}

TEST(TextDoneTest, StartsTheRepeatTimerEvenWhenOnePends) {
  OperatingRig rig;
  rig.keyer.firmware = 10;
  rig.State().CqRepeatCount = 3;
  rig.State().CqTimer = true;
  rig.logic.OnKeyerMessage(WM_KEYER_TEXT_DONE, 0, 0);
  EXPECT_EQ(rig.State().CqRepeatCount, 2);
  EXPECT_EQ(rig.window.timerStarts, std::vector<unsigned>{5000});
}

TEST(PaddleTest, EmptiesTheInputLineButKeepsTheQueue) {
  OperatingRig rig;
  rig.Type("abc");
  rig.logic.OnKeyerMessage(WM_KEYER_PADDLE, 0, 0);
  EXPECT_TRUE(rig.window.inputLine.empty());
  EXPECT_EQ(rig.State().PendingText, "ABC");
  EXPECT_TRUE(rig.keyer.calls.empty());
}

TEST(NotificationTest, CharSentWordSpaceAndUnknownMessagesChangeNothing) {
  OperatingRig rig;
  rig.Type("abc");
  rig.State().CqRepeatCount = 4;
  const SendState before = rig.logic.State();
  const int reads = rig.window.reads;
  for (unsigned message : {WM_KEYER_CHAR_SENT, WM_KEYER_WORD_SPACE, kWmUser + 99, kWmUser + 111}) {
    rig.logic.OnKeyerMessage(message, 13, 1);
  }
  EXPECT_EQ(rig.State().PendingText, before.PendingText);
  EXPECT_EQ(rig.State().CqRepeatCount, 4);
  EXPECT_EQ(rig.window.inputLine, "ABC");
  EXPECT_TRUE(rig.keyer.calls.empty());
  EXPECT_EQ(rig.window.reads, reads);
}

}  // namespace
}  // namespace vantrel::operating
