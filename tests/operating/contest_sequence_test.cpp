#include <gtest/gtest.h>

#include "operating/operating_rig.h"

namespace vantrel::operating {
namespace {

constexpr Modifiers kCtrl{false, true, false};
constexpr std::intptr_t kDecodedR = 17;

struct SequenceCase {
  const char* name;
  unsigned firmware;
  const char* sent;
  const char* log;
};

void PrintTo(const SequenceCase& c, std::ostream* os) {
  *os << c.name;
}

class ContestSequenceTest : public testing::TestWithParam<SequenceCase> {
 protected:
  // Lets everything handed over go out, as the interface reports it.
  void Drain() {
    if (rig.keyer.firmware >= 20) {
      rig.SendQueued();
    } else {
      rig.logic.OnKeyerMessage(WM_KEYER_TEXT_DONE, 0, 0);
    }
  }

  OperatingRig rig;
};

// CQ repeat ended by a key, a call typed, numbered exchanges with an advancing number, a speed
// change at the interface, a paddle break-in and an unplugged interface coming back. Apart
// from the rest of the CQ call that the ending key abandons, nothing is lost, doubled or
// reordered.
TEST_P(ContestSequenceTest, NothingIsLostDoubledOrReordered) {
  rig.keyer.firmware = GetParam().firmware;
  rig.settings.Auto = true;
  rig.settings.Number = "001";
  rig.settings.FnMsgA[2] = "5NN $N";
  rig.logic.ShowBank(Bank::A);

  rig.Press(Key::Z, kCtrl);
  Drain();
  ASSERT_TRUE(rig.window.timer.has_value());
  rig.logic.OnCqTimer();
  if (rig.keyer.firmware >= 20) rig.Status(kSending, 4);
  rig.Type("q");
  EXPECT_EQ(rig.State().CqRepeatCount, 0);

  rig.Type("q1abc");
  Drain();
  rig.window.controls.callsign = "Q1ABC";
  rig.Press(Key::F3);
  Drain();
  rig.logic.OnKeyerMessage(WM_KEYER_SPEED, 24, 0);
  rig.Press(Key::F4);
  Drain();

  rig.logic.OnKeyerMessage(WM_KEYER_PADDLE, 0, 0);
  rig.logic.OnKeyerMessage(WM_KEYER_DECODED, kDecodedR, 0);
  rig.Press(Key::Escape);

  const unsigned firmware = rig.keyer.firmware;
  rig.keyer.firmware = 0;
  rig.keyer.onKeyingSettings = [&] { rig.keyer.firmware = firmware; };
  rig.Type("tu");
  Drain();
  rig.Press(Key::F3);
  Drain();

  EXPECT_EQ(rig.keyer.sent, GetParam().sent);
  EXPECT_EQ(rig.window.controls.log, GetParam().log);
  EXPECT_EQ(rig.settings.Number, "003");
  EXPECT_EQ(rig.keyer.speed, 25u);
  EXPECT_EQ(rig.keyer.keyingSettingsGiven, 1);
  EXPECT_FALSE(rig.window.timer.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Firmware, ContestSequenceTest,
    testing::Values(SequenceCase{"paced", 23, "CQ DE JA1ZZZ KCQQ1ABC5NN 001UR 599 ~BKTU5NN 002",
                                 "CQ DE JA1ZZZ KCQQ1ABC5NN 001UR 599 BKRTU5NN 002"},
                    SequenceCase{"pc_timed", 10,
                                 "CQ DE JA1ZZZ KCQ DE JA1ZZZ KQ1ABC5NN 001UR 599 ~BKTU5NN 002",
                                 "CQ DE JA1ZZZ KQ1ABC5NN 001UR 599 BKRTU5NN 002"}),
    [](const testing::TestParamInfo<SequenceCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vantrel::operating
