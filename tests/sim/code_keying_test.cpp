#include <gtest/gtest.h>

#include "sim_rig.h"

namespace vantrel::sim {
namespace {

// 20 WPM (half dot 30 ms), weights 1.0 and 3.0, PTT 25 ms before and 200 ms after.
void SendTwentyWpmWithPtt(SimRig& rig) {
  rig.Send({0x24, 30});
  rig.Send({0x20, 30, 2, 6, 2, 7});
  rig.Send({0x22, 25, 200});
  rig.Send({0x25, 1});
}

TEST(CodeKeying, KeysCqWithLeadInGapsAndTail) {
  SimRig rig;
  SendTwentyWpmWithPtt(rig);
  rig.Send({0x05, 0xA8, 0xD8});
  rig.timers.AdvanceMs(3000);
  const std::vector<LineTransition> expected{
      Ptt(0, true),          Key(25'000, true),     Key(205'000, false),  // C: -
      Key(265'000, true),    Key(325'000, false),                         // .
      Key(385'000, true),    Key(565'000, false),                         // -
      Key(625'000, true),    Key(685'000, false),                         // .
      Key(865'000, true),    Key(1'045'000, false),                       // Q: -
      Key(1'105'000, true),  Key(1'285'000, false),                       // -
      Key(1'345'000, true),  Key(1'405'000, false),                       // .
      Key(1'465'000, true),  Key(1'645'000, false),                       // -
      Ptt(1'845'000, false),
  };
  EXPECT_EQ(rig.device.Transitions(), expected);
}

TEST(CodeKeying, BufferStateCountsDownWhileSendingAndIsIdleAfterTheLastGap) {
  SimRig rig;
  SendTwentyWpmWithPtt(rig);
  EXPECT_EQ(rig.device.BufferState(), 15);
  rig.Send({0x05, 0xA8, 0xD8});
  EXPECT_EQ(rig.device.BufferState(), 13);
  rig.timers.AdvanceTo(865'000);
  EXPECT_EQ(rig.device.BufferState(), 14);
  rig.timers.AdvanceTo(1'824'999);
  EXPECT_EQ(rig.device.BufferState(), 14);
  rig.timers.AdvanceTo(1'825'000);
  EXPECT_EQ(rig.device.BufferState(), 15);
}

TEST(CodeKeying, WithoutPttControlKeysAtOnceAndLeavesPttAlone) {
  SimRig rig;
  rig.timers.AdvanceTo(10'000);
  rig.Send({0x05, 0x60});  // A: .-
  rig.timers.AdvanceMs(1000);
  EXPECT_EQ(rig.device.Transitions(),
            (std::vector<LineTransition>{Key(10'000, true), Key(70'000, false), Key(130'000, true),
                                         Key(310'000, false)}));
}

TEST(CodeKeying, WeightsAndSpeedSetTheElementLengths) {
  SimRig rig;
  rig.Send({0x20, 12, 3, 10, 2, 0});  // 50 WPM, dot weight 1.5, dash weight 5.0
  rig.Send({0x05, 0x60});
  rig.timers.AdvanceMs(1000);
  EXPECT_EQ(rig.device.Transitions(),
            (std::vector<LineTransition>{Key(0, true), Key(36'000, false), Key(60'000, true),
                                         Key(180'000, false)}));
}

TEST(CodeKeying, WordSpaceMakesSevenDotsBetweenCharactersAndNoCodeIsSkipped) {
  SimRig rig;
  rig.Send({0x05, 0x40, 0x00, 0x80, 0x40});  // E, nothing, word space, E
  rig.timers.AdvanceMs(1000);
  EXPECT_EQ(rig.device.Transitions(),
            (std::vector<LineTransition>{Key(0, true), Key(60'000, false), Key(480'000, true),
                                         Key(540'000, false)}));
}

TEST(CodeKeying, ClearBufferKeysUpAtOnceAndDropsTheRest) {
  SimRig rig;
  SendTwentyWpmWithPtt(rig);
  rig.Send({0x05, 0xA8, 0xD8});
  rig.timers.AdvanceTo(100'000);
  rig.Send({0x34});
  EXPECT_EQ(rig.device.BufferState(), 15);
  rig.timers.AdvanceMs(2000);
  EXPECT_EQ(rig.device.Transitions(),
            (std::vector<LineTransition>{Ptt(0, true), Key(25'000, true), Key(100'000, false),
                                         Ptt(300'000, false)}));
}

TEST(CodeKeying, ClearThenPttOffReleasesEverythingAtOnce) {
  SimRig rig;
  SendTwentyWpmWithPtt(rig);
  rig.Send({0x05, 0xA8});
  rig.timers.AdvanceTo(100'000);
  rig.Send({0x34});
  rig.Send({0x35, 0, 0});
  rig.timers.AdvanceMs(2000);
  EXPECT_EQ(rig.device.Transitions(),
            (std::vector<LineTransition>{Ptt(0, true), Key(25'000, true), Key(100'000, false),
                                         Ptt(100'000, false)}));
}

TEST(CodeKeying, HeldPttSkipsTheLeadInAndOutlastsTheTail) {
  SimRig rig;
  SendTwentyWpmWithPtt(rig);
  rig.Send({0x35, 0, 1});
  rig.timers.AdvanceTo(1000);
  rig.Send({0x05, 0x40});
  rig.timers.AdvanceMs(1000);
  rig.Send({0x35, 0, 0});
  EXPECT_EQ(rig.device.Transitions(),
            (std::vector<LineTransition>{Ptt(0, true), Key(1000, true), Key(61'000, false),
                                         Ptt(1'001'000, false)}));
}

TEST(CodeKeying, ModeFlagsSwitchPttControlAtFirmwareTwenty) {
  SimRig rig({.firmwareVersion = 20});
  rig.Send({0x20, 30, 2, 6, 2, 0});
  rig.Send({0x22, 10, 0});
  rig.Send({0x30, 0x04, 0xA0, 0x00});
  rig.Send({0x05, 0x40});
  rig.timers.AdvanceMs(1000);
  EXPECT_EQ(rig.device.Transitions(),
            (std::vector<LineTransition>{Ptt(0, true), Key(10'000, true), Key(70'000, false),
                                         Ptt(70'000, false)}));
}

}  // namespace
}  // namespace vantrel::sim
