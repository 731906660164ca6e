#include <gtest/gtest.h>

#include "sim_rig.h"

namespace vantrel::sim {
namespace {

const Report kIdleReply{0, 0x04, 0x0F, 3, 0, 0, 0, 0, 0};

TEST(InputPolling, EachCommandDrawsOneReplyAfterThePollInterval) {
  SimRig rig({.firmwareVersion = 10});
  rig.Send({0x04, 0x0F, 3});
  rig.timers.AdvanceTo(999);
  EXPECT_TRUE(rig.ReadWaiting().empty());
  rig.timers.AdvanceTo(1000);
  EXPECT_EQ(rig.ReadWaiting(), std::vector<Report>{kIdleReply});
  rig.Send({0x04, 0x0F, 3});
  rig.Send({0x01, 0x0F});
  rig.timers.AdvanceTo(2000);
  EXPECT_EQ(rig.ReadWaiting(), (std::vector<Report>{kIdleReply, kIdleReply}));
  rig.timers.AdvanceTo(100'000);
  EXPECT_TRUE(rig.ReadWaiting().empty());
}

TEST(InputPolling, PollIntervalIsConfigurable) {
  SimRig rig({.firmwareVersion = 19, .pollIntervalUs = 250});
  rig.Send({0x04, 0x0F, 3});
  rig.timers.AdvanceTo(249);
  EXPECT_TRUE(rig.ReadWaiting().empty());
  rig.timers.AdvanceTo(250);
  EXPECT_EQ(rig.ReadWaiting().size(), 1u);
}

TEST(InputPolling, ReplyCarriesThePaddleContactsWhenItGoesOut) {
  SimRig rig({.firmwareVersion = 10});
  rig.Send({0x04, 0x0F, 3});
  rig.device.SetPaddle(Paddle::Dot);
  rig.timers.AdvanceTo(1000);
  EXPECT_EQ(rig.ReadWaiting().at(0), (Report{0, 0x04, 0x0B, 3, 0, 0, 0, 0, 0}));
}

TEST(InputPolling, OutputLinesDriveKeyAndPtt) {
  SimRig rig({.firmwareVersion = 10});
  const std::pair<platform::Micros, std::uint8_t> steps[] = {
      {0, 0x0F}, {1000, 0x0D}, {26'000, 0x0C}, {86'000, 0x0D}, {286'000, 0x0F}};
  for (const auto& [at, lines] : steps) {
    rig.timers.AdvanceTo(at);
    rig.Send({0x01, lines});
  }
  EXPECT_EQ(rig.device.Transitions(),
            (std::vector<LineTransition>{Ptt(1000, true), Key(26'000, true), Key(86'000, false),
                                         Ptt(286'000, false)}));
}

TEST(InputPolling, KeyerCommandsKeyNothingBelowTwenty) {
  SimRig rig({.firmwareVersion = 19});
  rig.Send({0x05, 0x40});
  rig.Send({0x35, 0, 1});
  rig.timers.AdvanceMs(1000);
  EXPECT_TRUE(rig.device.Transitions().empty());
  EXPECT_EQ(rig.ReadWaiting().size(), 2u);
}

}  // namespace
}  // namespace vantrel::sim
