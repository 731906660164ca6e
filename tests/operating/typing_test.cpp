#include <gtest/gtest.h>

#include "operating/operating_rig.h"

namespace vantrel::operating {
namespace {

struct CaseTyping {
  const char* name;
  const char* typed;  // as the keyboard delivers it, Caps Lock included
  bool shift;
  const char* result;
};

void PrintTo(const CaseTyping& c, std::ostream* os) {
  *os << c.name;
}

class TypedCaseTest : public testing::TestWithParam<CaseTyping> {};

TEST_P(TypedCaseTest, FirmwareTwentyAndLaterQueuesWhatIsShown) {
  OperatingRig rig;
  rig.Type(GetParam().typed, {false, false, GetParam().shift});
  EXPECT_EQ(rig.window.inputLine, GetParam().result);
  EXPECT_EQ(rig.State().PendingText, GetParam().result);
  rig.SendQueued();
  EXPECT_EQ(rig.keyer.sent, GetParam().result);
}

TEST_P(TypedCaseTest, OlderFirmwareSendsEachCharacterAtOnce) {
  OperatingRig rig;
  rig.keyer.firmware = 10;
  rig.Type(GetParam().typed, {false, false, GetParam().shift});
  EXPECT_EQ(rig.window.inputLine, GetParam().result);
  EXPECT_EQ(rig.keyer.sent, GetParam().result);
  EXPECT_EQ(rig.keyer.calls.size(), 2u);
  EXPECT_TRUE(rig.State().PendingText.empty());
}

INSTANTIATE_TEST_SUITE_P(CapsLockChangesNothing, TypedCaseTest,
                         testing::Values(CaseTyping{"plain", "cq", false, "CQ"},
                                         CaseTyping{"caps_lock", "CQ", false, "CQ"},
                                         CaseTyping{"shift", "CQ", true, "cq"},
                                         CaseTyping{"shift_and_caps_lock", "cq", true, "cq"}),
                         [](const testing::TestParamInfo<CaseTyping>& info) {
                           return std::string(info.param.name);
                         });

struct NotSentCase {
  const char* name;
  int sendMode;
  Control focus;
  Modifiers modifiers;
  // Never queued in the input line, so it does not enter it either.
  bool consumed = false;
};

void PrintTo(const NotSentCase& c, std::ostream* os) {
  *os << c.name;
}

class TypedNotSentTest : public testing::TestWithParam<NotSentCase> {};

TEST_P(TypedNotSentTest, IsOnlyShown) {
  for (unsigned firmware : {10u, 23u}) {
    OperatingRig rig;
    rig.keyer.firmware = firmware;
    rig.SetSendMode(GetParam().sendMode);
    rig.window.focus = GetParam().focus;
    const TypedCharacter result = rig.logic.OnCharacter("a", GetParam().modifiers);
    EXPECT_EQ(result.consumed, GetParam().consumed);
    const std::string shown = GetParam().modifiers.shift ? "a" : "A";
    EXPECT_EQ(result.character, GetParam().consumed ? "" : shown);
    EXPECT_TRUE(rig.keyer.calls.empty());
    EXPECT_TRUE(rig.State().PendingText.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Typed, TypedNotSentTest,
    testing::Values(
        NotSentCase{"block_mode", kBlockMode, Control::InputLine, {}},
        NotSentCase{"callsign_box", kSequentialMode, Control::CallsignBox, {}},
        NotSentCase{"log", kSequentialMode, Control::Log, {false, false, true}},
        NotSentCase{"alt", kSequentialMode, Control::InputLine, {true, false, false}, true},
        NotSentCase{"ctrl", kSequentialMode, Control::InputLine, {false, true, false}, true},
        NotSentCase{"alt_shift", kSequentialMode, Control::InputLine, {true, false, true}, true},
        NotSentCase{"block_alt", kBlockMode, Control::InputLine, {true, false, false}},
        NotSentCase{"callsign_alt", kSequentialMode, Control::CallsignBox, {true, false, false}}),
    [](const testing::TestParamInfo<NotSentCase>& info) { return std::string(info.param.name); });

// Ctrl+V and the other editing keys arrive as control bytes and must reach the input line.
TEST(TypingTest, ControlBytesWithCtrlStillReachTheInputLine) {
  OperatingRig rig;
  const TypedCharacter result = rig.logic.OnCharacter("\x16", {false, true, false});
  EXPECT_FALSE(result.consumed);
  EXPECT_EQ(result.character, "\x16");
  EXPECT_TRUE(rig.State().PendingText.empty());
}

TEST(TypingTest, SendModeIsReadFromTheControlsOnEachCharacter) {
  OperatingRig rig;
  rig.window.controls.sendMode = kBlockMode;
  rig.Type("a");
  EXPECT_TRUE(rig.State().PendingText.empty());
  rig.window.controls.sendMode = kSequentialMode;
  rig.Type("b");
  EXPECT_EQ(rig.State().PendingText, "B");
}

TEST(TypingTest, ControlCharactersAreQueuedLikeAnyOther) {
  OperatingRig rig;
  rig.logic.OnCharacter("\b", {});
  EXPECT_EQ(rig.State().PendingText, "\b");
}

TEST(TypingTest, InputMethodCharactersGoOutAsTheirCp932Bytes) {
  OperatingRig rig;
  for (const char* character : {"\xB6", "\x82\xA0"}) {
    const TypedCharacter result = rig.logic.OnCharacter(character, {});
    rig.window.Insert(result.character);
  }
  rig.SendQueued();
  EXPECT_EQ(rig.keyer.calls,
            (std::vector<std::string>{"SendText \xB6", "SendText \x82", "SendText \xA0"}));
  EXPECT_EQ(rig.window.fields.LogText, "\xB6\x82\xA0");
}

TEST(TypingTest, NoInterfaceStopsAndReappliesTheSettingsFirst) {
  OperatingRig rig;
  rig.keyer.firmware = 0;
  rig.window.controls.ptt = 1;
  rig.window.inputLine = "AB";
  rig.keyer.onKeyingSettings = [&] { rig.keyer.firmware = 23; };
  rig.Type("c");
  EXPECT_EQ(rig.keyer.keyingSettingsGiven, 1);
  EXPECT_EQ(rig.keyer.calls, (std::vector<std::string>{"SetPttHold 0", "StopSending", "SetSpeed 20",
                                                       "SetKeyingSettings"}));
  EXPECT_EQ(rig.window.controls.ptt, 0);
  EXPECT_EQ(rig.window.inputLine, "C");
  EXPECT_EQ(rig.State().PendingText, "C");
}

TEST(TypingTest, NoInterfaceFoundStillTreatsTheCharacter) {
  OperatingRig rig;
  rig.keyer.firmware = 0;
  rig.Type("e");
  EXPECT_EQ(rig.keyer.keyingSettingsGiven, 1);
  EXPECT_EQ(rig.keyer.sent, "E");
  EXPECT_EQ(rig.window.inputLine, "E");
}

TEST(TypingTest, TheFirstKeyDuringACqRepeatOnlyEndsIt) {
  OperatingRig rig;
  rig.Press(Key::Z, {false, true, false});
  rig.keyer.TakeCalls();
  const TypedCharacter result = rig.logic.OnCharacter("x", {});
  EXPECT_TRUE(result.consumed);
  EXPECT_EQ(rig.State().CqRepeatCount, 0);
  EXPECT_TRUE(rig.State().PendingText.empty());
  EXPECT_EQ(rig.keyer.TakeCalls(), (std::vector<std::string>{"SetPttHold 0", "StopSending"}));
  rig.Type("x");
  EXPECT_EQ(rig.State().PendingText, "X");
  EXPECT_EQ(rig.window.inputLine, "X");
}

}  // namespace
}  // namespace vantrel::operating
