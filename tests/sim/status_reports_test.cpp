#include <gtest/gtest.h>

#include "sim_rig.h"

namespace vantrel::sim {
namespace {

TEST(StatusReports, ArriveEveryIntervalAndShowAnIdleInterface) {
  SimRig rig;
  rig.timers.AdvanceTo(4999);
  EXPECT_TRUE(rig.ReadWaiting().empty());
  rig.timers.AdvanceTo(20'000);
  const auto reports = rig.ReadWaiting();
  ASSERT_EQ(reports.size(), 4u);
  EXPECT_EQ(reports[0], (Report{0, 0x33, 0, 0, 0, 0, 0, 0x60, 0xFF}));
}

TEST(StatusReports, IntervalIsConfigurable) {
  SimRig rig({.statusIntervalUs = 2000});
  rig.timers.AdvanceTo(10'000);
  EXPECT_EQ(rig.ReadWaiting().size(), 5u);
}

TEST(StatusReports, SpeedSwitchFieldOnlyFromTwentyThree) {
  struct Case {
    unsigned firmware;
    SpeedSwitch position;
    std::uint8_t byte7;
  };
  const Case cases[] = {
      {23, SpeedSwitch::Rest, 0x60}, {23, SpeedSwitch::Up, 0x40},   {23, SpeedSwitch::Down, 0x20},
      {22, SpeedSwitch::Up, 0x00},   {20, SpeedSwitch::Rest, 0x00},
  };
  for (const auto& c : cases) {
    SimRig rig({.firmwareVersion = c.firmware});
    rig.device.SetSpeedSwitch(c.position);
    rig.timers.AdvanceTo(5000);
    EXPECT_EQ(rig.ReadWaiting().at(0)[7], c.byte7) << c.firmware;
  }
}

TEST(StatusReports, CarryDecodeCounterCodeInputsAndBufferState) {
  SimRig rig;
  rig.device.ReportDecoded(0x60);
  rig.device.ReportDecoded(0x54);
  rig.device.SetInputLines(0x06);
  rig.Send({0x05, 0xA8, 0xD8});
  rig.timers.AdvanceTo(5000);
  EXPECT_EQ(rig.ReadWaiting().at(0), (Report{0, 0x33, 0, 0, 0, 2, 0x54, 0x60, 0xD6}));
}

TEST(StatusReports, PaddleClosesItsContactByTheReverseSetting) {
  struct Case {
    std::vector<std::uint8_t> command;
    Paddle paddle;
    std::uint8_t lines;
  };
  const Case cases[] = {
      {{}, Paddle::Dot, 0x0B},
      {{}, Paddle::Dash, 0x0E},
      {{}, Paddle::Both, 0x0A},
      {{0x26, 0, 0, 0}, Paddle::Dot, 0x0E},
      {{0x26, 0, 0, 1}, Paddle::Dot, 0x0B},
  };
  for (const auto& c : cases) {
    SimRig rig;
    if (!c.command.empty()) {
      rig.Send({c.command[0], c.command[1], c.command[2], c.command[3]});
    }
    rig.device.SetPaddle(c.paddle);
    rig.timers.AdvanceTo(5000);
    EXPECT_EQ(rig.ReadWaiting().at(0)[8] & 0x0F, c.lines);
  }
}

TEST(StatusReports, SpeedAndModeFlagsReportsGoOutAtOnce) {
  SimRig rig;
  rig.device.SendSpeedReport(20);
  rig.device.SendModeFlagsReport(0x04, 0xA0, 0x01);
  const auto reports = rig.ReadWaiting();
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0], (Report{0, 0x21, 20, 0, 0, 0, 0, 0x60, 0xFF}));
  EXPECT_EQ(reports[1], (Report{0, 0x31, 0x04, 0xA0, 0x01, 0, 0, 0x60, 0xFF}));
}

TEST(StatusReports, NothingQueuesWhileNoHandleIsOpen) {
  SimRig rig;
  rig.handle.reset();
  rig.timers.AdvanceTo(50'000);
  auto handle = rig.bus.Open(rig.device.Path());
  Report report{};
  EXPECT_EQ(handle->Read(report.data(), report.size(), 0), 0);
}

}  // namespace
}  // namespace vantrel::sim
