#include <gtest/gtest.h>

#include "operating/operating_rig.h"

namespace vantrel::operating {
namespace {

constexpr Modifiers kCtrl{false, true, false};

TEST(FunctionKeyTest, BlockModeSendsTheInputLineBeforeTheMessage) {
  for (unsigned firmware : {10u, 23u}) {
    OperatingRig rig;
    rig.keyer.firmware = firmware;
    rig.settings.FnMsgA[1] = "UR $R ~BK";
    rig.logic.ShowBank(Bank::A);
    rig.SetSendMode(kBlockMode);
    rig.Type("q1abc");
    EXPECT_TRUE(rig.Press(Key::F2));
    rig.SendQueued();
    EXPECT_EQ(rig.keyer.sent, "Q1ABC UR 599 ~BK ");
    EXPECT_TRUE(rig.window.inputLine.empty());
    EXPECT_EQ(rig.window.controls.log, "Q1ABC UR 599 BK \r\n");
  }
}

TEST(FunctionKeyTest, SequentialModeShowsTheMessageInTheInputLineUntilHandedOver) {
  OperatingRig rig;
  rig.settings.LogTime = true;
  rig.logic.OnFunctionButton(4);
  EXPECT_EQ(rig.State().PendingText, "UR 599 ~BK");
  EXPECT_EQ(rig.window.inputLine, "UR 599 BK");
  rig.SendQueued();
  EXPECT_EQ(rig.keyer.sent, "UR 599 ~BK");
  EXPECT_EQ(rig.window.controls.log, "12:34:56> UR 599 BK");
  EXPECT_TRUE(rig.window.inputLine.empty());
}

TEST(FunctionKeyTest, OlderFirmwareTakesTheWholeText) {
  OperatingRig rig;
  rig.keyer.firmware = 10;
  rig.logic.OnFunctionButton(1);
  EXPECT_EQ(rig.keyer.calls, (std::vector<std::string>{"SetSpeed 20", "SendText CQ DE JA1ZZZ K"}));
  EXPECT_EQ(rig.window.inputLine, "CQ DE JA1ZZZ K");
}

TEST(BankTest, CtrlShowsBankBOnCaptionsAndToolTipsUntilReleased) {
  OperatingRig rig;
  rig.Press(Key::Control, kCtrl);
  for (int key = 1; key <= 10; ++key) {
    EXPECT_EQ(rig.window.captions[key], rig.settings.FnMsgB[key - 1]) << key;
    EXPECT_EQ(rig.window.toolTips[key], rig.settings.FnMsgB[key - 1]) << key;
  }
  EXPECT_EQ(rig.window.captions[11], ">THL");
  EXPECT_EQ(rig.window.captions[12], "<THL");

  rig.logic.OnKeyUp(Key::Control);
  for (int key = 1; key <= 10; ++key) {
    EXPECT_EQ(rig.window.captions[key], rig.settings.FnMsgA[key - 1]) << key;
    EXPECT_EQ(rig.window.toolTips[key], rig.settings.FnMsgA[key - 1]) << key;
  }
}

TEST(BankTest, BankBLeavesTheLogLinkCaptionsAlone) {
  OperatingRig rig;
  rig.window.captions[11] = "x";
  rig.logic.ShowBank(Bank::B);
  EXPECT_EQ(rig.window.captions[11], "x");
  rig.logic.ShowBank(Bank::A);
  EXPECT_EQ(rig.window.captions[11], ">THL");
}

TEST(BankTest, ToolTipsShowPercentSignsAndLongMessagesWhole) {
  OperatingRig rig;
  rig.settings.FnMsgA[2] = "100% %s %d";
  rig.settings.FnMsgA[3] = std::string(256, 'E');
  rig.logic.ShowBank(Bank::A);
  EXPECT_EQ(rig.window.toolTips[3], "100% %s %d");
  EXPECT_EQ(rig.window.toolTips[4], std::string(256, 'E'));
}

struct HeldKeyCase {
  const char* name;
  Modifiers modifiers;
  bool consumed;
  const char* sent;
};

void PrintTo(const HeldKeyCase& c, std::ostream* os) {
  *os << c.name;
}

class F1WithModifiersTest : public testing::TestWithParam<HeldKeyCase> {};

TEST_P(F1WithModifiersTest, SendsWhatTheCaptionShows) {
  OperatingRig rig;
  rig.keyer.firmware = 10;
  rig.window.controls.callsign = "Q1ABC";
  if (GetParam().modifiers.ctrl) rig.Press(Key::Control, GetParam().modifiers);
  EXPECT_EQ(rig.Press(Key::F1, GetParam().modifiers), GetParam().consumed);
  EXPECT_EQ(rig.keyer.sent, GetParam().sent);
}

INSTANTIATE_TEST_SUITE_P(
    Held, F1WithModifiersTest,
    testing::Values(HeldKeyCase{"none", {}, true, "CQ DE JA1ZZZ K"},
                    HeldKeyCase{"ctrl", {false, true, false}, true, "B1 Q1ABC"},
                    HeldKeyCase{"shift", {false, false, true}, false, ""},
                    HeldKeyCase{"alt", {true, false, false}, false, ""},
                    HeldKeyCase{"ctrl_alt", {true, true, false}, false, ""}),
    [](const testing::TestParamInfo<HeldKeyCase>& info) { return std::string(info.param.name); });

TEST(FunctionKeyTest, AnEmptyMessageDoesNothingAtAll) {
  OperatingRig rig;
  rig.State().CqRepeatCount = 5;
  rig.logic.OnFunctionButton(7);
  EXPECT_EQ(rig.State().CqRepeatCount, 5);
  EXPECT_TRUE(rig.keyer.calls.empty());
  EXPECT_EQ(rig.window.reads, 0);
}

TEST(FunctionKeyTest, DuringACqRepeatOnlyEndsIt) {
  OperatingRig rig;
  rig.State().CqRepeatCount = 5;
  rig.State().CqTimer = true;
  rig.window.timer = 5000;
  rig.logic.OnFunctionButton(2);
  EXPECT_EQ(rig.State().CqRepeatCount, 0);
  EXPECT_FALSE(rig.window.timer.has_value());
  EXPECT_FALSE(rig.State().CqTimer);
  EXPECT_EQ(rig.keyer.calls, (std::vector<std::string>{"SetPttHold 0", "StopSending"}));
  EXPECT_TRUE(rig.State().PendingText.empty());
}

struct NumberSendCase {
  const char* name;
  const char* message;
  const char* number;
  bool autoAdvance;
  const char* sent;
  const char* numberAfter;
};

void PrintTo(const NumberSendCase& c, std::ostream* os) {
  *os << c.name;
}

class NumberSendTest : public testing::TestWithParam<NumberSendCase> {};

TEST_P(NumberSendTest, TheTextCarriesTheNumberFromBeforeTheAdvance) {
  OperatingRig rig;
  rig.keyer.firmware = 10;
  rig.settings.Number = GetParam().number;
  rig.settings.Auto = GetParam().autoAdvance;
  rig.logic.SendWithMacros(GetParam().message);
  EXPECT_EQ(rig.keyer.sent, GetParam().sent);
  EXPECT_EQ(rig.settings.Number, GetParam().numberAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, NumberSendTest,
    testing::Values(NumberSendCase{"advances", "$N", "001", true, "001", "002"},
                    NumberSendCase{"twice_once", "5NN $N $N", "009", true, "5NN 009 009", "010"},
                    NumberSendCase{"auto_off", "$N", "001", false, "001", "001"},
                    NumberSendCase{"no_tail", "$N", "11M", true, "11M", "11M"},
                    NumberSendCase{"zero", "$N", "000", true, "000", "000"},
                    NumberSendCase{"unused", "TU", "001", true, "TU", "001"},
                    NumberSendCase{"empty_number", "$N", "", true, "", ""}),
    [](const testing::TestParamInfo<NumberSendCase>& info) {
      return std::string(info.param.name);
    });

TEST(SendWithMacrosTest, AnEmptyExpansionIsNeitherSentNorLogged) {
  for (int mode : {kSequentialMode, kBlockMode}) {
    OperatingRig rig;
    rig.settings.LogTime = true;
    rig.SetSendMode(mode);
    rig.logic.SendWithMacros("$C");
    EXPECT_TRUE(rig.State().PendingText.empty());
    EXPECT_TRUE(rig.window.controls.log.empty());
    EXPECT_TRUE(rig.window.inputLine.empty());
  }
}

TEST(SendWithMacrosTest, AFailedReadStopsBeforeAnythingIsSent) {
  OperatingRig rig;
  rig.keyer.firmware = 10;
  rig.window.readFails = true;
  rig.logic.SendWithMacros("TEST");
  EXPECT_TRUE(rig.keyer.calls.empty());
  EXPECT_TRUE(rig.window.inputLine.empty());
}

struct SpeedBoxCase {
  unsigned box;
  unsigned engine;
  std::vector<std::string> calls;
  unsigned wpmAfter;
};

class SpeedBoxBeforeSendTest : public testing::TestWithParam<SpeedBoxCase> {};

TEST_P(SpeedBoxBeforeSendTest, OnlyAKeyingSpeedReachesTheEngine) {
  OperatingRig rig;
  rig.keyer.firmware = 10;
  rig.keyer.speed = GetParam().engine;
  rig.window.controls.speedBox = GetParam().box;
  rig.logic.SendWithMacros("E");
  EXPECT_EQ(rig.keyer.calls, GetParam().calls);
  EXPECT_EQ(rig.window.fields.WPM, GetParam().wpmAfter);
}

INSTANTIATE_TEST_SUITE_P(Speeds, SpeedBoxBeforeSendTest,
                         testing::Values(SpeedBoxCase{35, 20, {"SetSpeed 35", "SendText E"}, 35},
                                         SpeedBoxCase{5, 20, {"SetSpeed 5", "SendText E"}, 5},
                                         SpeedBoxCase{50, 20, {"SetSpeed 50", "SendText E"}, 50},
                                         SpeedBoxCase{4, 22, {"SendText E"}, 22},
                                         SpeedBoxCase{70, 22, {"SendText E"}, 22}));

TEST(SendWithMacrosTest, NoInterfaceReconnectsAndEndsTheRepeat) {
  OperatingRig rig;
  rig.keyer.firmware = 0;
  rig.State().CqRepeatCount = -1;
  rig.keyer.onKeyingSettings = [&] { rig.keyer.firmware = 10; };
  rig.logic.SendWithMacros("TEST");
  EXPECT_EQ(rig.keyer.keyingSettingsGiven, 1);
  EXPECT_EQ(rig.State().CqRepeatCount, 0);
  EXPECT_EQ(rig.keyer.calls,
            (std::vector<std::string>{"SetPttHold 0", "StopSending", "SetSpeed 20",
                                      "SetKeyingSettings", "SetSpeed 20", "SendText TEST"}));
}

}  // namespace
}  // namespace vantrel::operating
