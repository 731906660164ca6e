#include <gtest/gtest.h>

#include "operating/operating_rig.h"

namespace vantrel::operating {
namespace {

constexpr Modifiers kCtrl{false, true, false};
constexpr Modifiers kAlt{true, false, false};

struct SpeedKeyCase {
  const char* name;
  Key key;
  unsigned before;
  unsigned after;
};

void PrintTo(const SpeedKeyCase& c, std::ostream* os) {
  *os << c.name;
}

class SpeedKeyTest : public testing::TestWithParam<SpeedKeyCase> {};

TEST_P(SpeedKeyTest, OneStepWithinFiveToFifty) {
  OperatingRig rig;
  rig.window.controls.speedBox = GetParam().before;
  rig.keyer.speed = GetParam().before;
  EXPECT_TRUE(rig.Press(GetParam().key, kCtrl));
  EXPECT_EQ(rig.window.controls.speedBox, GetParam().after);
  EXPECT_EQ(rig.keyer.speed, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SpeedKeyTest,
    testing::Values(SpeedKeyCase{"q_up", Key::Q, 20, 21}, SpeedKeyCase{"q_at_50", Key::Q, 50, 50},
                    SpeedKeyCase{"q_at_49", Key::Q, 49, 50}, SpeedKeyCase{"s_down", Key::S, 20, 19},
                    SpeedKeyCase{"s_at_5", Key::S, 5, 5}, SpeedKeyCase{"s_at_6", Key::S, 6, 5}),
    [](const testing::TestParamInfo<SpeedKeyCase>& info) { return std::string(info.param.name); });

TEST(HotKeyTest, CtrlKStartsANewContact) {
  for (Control focus : {Control::InputLine, Control::CallsignBox}) {
    OperatingRig rig;
    rig.window.focus = focus;
    rig.window.inputLine = "Q1ABC UR";
    rig.window.fields.HisCall = "Q1ABC";
    rig.window.controls.callsign = "Q1ABC";
    rig.window.fields.Report = 579;
    rig.window.controls.report = 579;
    EXPECT_TRUE(rig.Press(Key::K, kCtrl));
    EXPECT_TRUE(rig.window.inputLine.empty());
    EXPECT_TRUE(rig.window.controls.callsign.empty());
    EXPECT_EQ(rig.window.controls.report, 599);
    EXPECT_EQ(rig.window.focus, Control::InputLine);
  }
}

TEST(HotKeyTest, CtrlWEmptiesOnlyTheFocusedBox) {
  OperatingRig rig;
  rig.window.inputLine = "ABC";
  rig.window.controls.callsign = "Q1ABC";
  rig.window.focus = Control::CallsignBox;
  EXPECT_TRUE(rig.Press(Key::W, kCtrl));
  EXPECT_TRUE(rig.window.controls.callsign.empty());
  EXPECT_EQ(rig.window.inputLine, "ABC");
  rig.window.focus = Control::InputLine;
  EXPECT_TRUE(rig.Press(Key::W, kCtrl));
  EXPECT_TRUE(rig.window.inputLine.empty());
}

TEST(HotKeyTest, AltAMovesToTheCallsignBox) {
  OperatingRig rig;
  EXPECT_TRUE(rig.Press(Key::A, kAlt));
  EXPECT_EQ(rig.window.focus, Control::CallsignBox);
}

TEST(HotKeyTest, EscapeInTheInputLineStopsSending) {
  OperatingRig rig;
  rig.Type("abc");
  rig.window.controls.ptt = 1;
  EXPECT_TRUE(rig.Press(Key::Escape));
  EXPECT_EQ(rig.keyer.calls, (std::vector<std::string>{"SetPttHold 0", "StopSending"}));
  EXPECT_TRUE(rig.State().PendingText.empty());
  EXPECT_TRUE(rig.window.inputLine.empty());
  EXPECT_EQ(rig.window.controls.ptt, 0);
}

TEST(HotKeyTest, F11AndF12ReachTheLogLinkAndArePassedOn) {
  OperatingRig rig;
  EXPECT_FALSE(rig.Press(Key::F11));
  EXPECT_FALSE(rig.Press(Key::F12, kCtrl));
  EXPECT_EQ(rig.window.sentToLog, 1);
  EXPECT_EQ(rig.window.fetchedFromLog, 1);
}

}  // namespace
}  // namespace vantrel::operating
