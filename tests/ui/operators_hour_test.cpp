#include <gtest/gtest.h>

#include <bit>

#include "keyer/morse_code.h"
#include "sim_window_rig.h"

namespace vantrel::ui::rig {
namespace {

// Elements of a character's code: they stand before its closing 1 bit.
int KeyDowns(const std::string& text) {
  int count = 0;
  for (char c : text) {
    if (c == ' ') continue;
    const auto code = keyer::kBuiltinCodes[keyer::FindCharacterIndex(static_cast<std::uint8_t>(c))];
    count += 7 - std::countr_zero(static_cast<unsigned>(code));
  }
  return count;
}

class OperatorsHour : public testing::TestWithParam<unsigned> {};

// A CQ repeat ended by a key, a call typed, two numbered exchanges from F3: everything after
// the ending key goes out once, in order, and reaches the log.
TEST_P(OperatorsHour, NothingIsLostDoubledOrReordered) {
  SimWindowRig rig(GetParam());
  rig.Open(
      "FnMsgA01 CQ\nFnMsgA03 5NN $N\nAuto TRUE\nNumber 001\nCqLoopInterval 0.05\n"
      "LogTime FALSE\nWPM 40\n");
  rig.FocusInput();
  rig.Key(Qt::Key_Z, Qt::ControlModifier);
  rig.RunMs(100);
  rig.Type("x");
  EXPECT_EQ(rig.window->Logic().State().CqRepeatCount, 0);
  rig.RunMs(1500);
  rig.Click(kIdClear);
  rig.FocusInput();
  rig.sim.ClearHistory();

  for (const auto& key : {std::string("q1abc"), std::string(), std::string()}) {
    if (key.empty()) rig.Key(Qt::Key_F3);
    rig.Type(key);
    ASSERT_TRUE(
        rig.RunUntil([&] { return rig.InputShown().isEmpty() && rig.Pending().empty(); }, 5000));
    rig.RunMs(500);
  }
  rig.RunMs(1000);

  const std::string sent = "Q1ABC5NN 0015NN 002";
  EXPECT_EQ(rig.LogShown(), QString::fromStdString(sent));
  EXPECT_EQ(rig.window->Setup().Number, "003");
  int keyDowns = 0;
  for (const auto& transition : rig.sim.Transitions()) {
    if (transition.line == sim::Line::Key && transition.on) ++keyDowns;
  }
  EXPECT_EQ(keyDowns, KeyDowns(sent));
  EXPECT_FALSE(rig.sim.IsOn(sim::Line::Key));
  if (GetParam() < 20) {
    EXPECT_FALSE(rig.Commands(sim::CmdOutputLines).empty());
  } else {
    EXPECT_EQ(rig.Commands(sim::CmdSendCodes).size(), sent.size());
  }
}

INSTANTIATE_TEST_SUITE_P(Firmware, OperatorsHour, testing::Values(23u, 10u));

}  // namespace
}  // namespace vantrel::ui::rig
