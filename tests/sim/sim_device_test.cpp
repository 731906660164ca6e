#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "sim/sidetone.h"
#include "sim_rig.h"
#include "support/test_doubles.h"

namespace vantrel::sim {
namespace {

using Commands = std::vector<std::pair<platform::Micros, std::vector<std::uint8_t>>>;

// 20 WPM (half dot 30 ms), weights 1.0 and 3.0, PTT 25 ms before and 200 ms after.
Commands TwentyWpmWithPtt(Commands more) {
  Commands commands{
      {0, {0x24, 30}}, {0, {0x20, 30, 2, 6, 2, 7}}, {0, {0x22, 25, 200}}, {0, {0x25, 1}}};
  commands.insert(commands.end(), more.begin(), more.end());
  return commands;
}

void Play(SimRig& rig, const Commands& commands) {
  for (const auto& [at, bytes] : commands) {
    rig.timers.AdvanceTo(at);
    Report report{};
    std::copy(bytes.begin(), bytes.end(), report.begin() + 1);
    rig.handle->Write(report.data(), report.size());
  }
}

TEST(SimKeying, CommandsKeyTheLinesOnTheClock) {
  struct Case {
    unsigned firmware;
    Commands commands;
    Transitions expected;
  };
  const Case cases[] = {
      {23, TwentyWpmWithPtt({{0, {0x05, 0xA8, 0xD8}}}), kCqAtTwentyWpm},
      {23,
       {{10'000, {0x05, 0x60}}},
       {Key(10'000, true), Key(70'000, false), Key(130'000, true), Key(310'000, false)}},
      {23,
       {{0, {0x20, 12, 3, 10, 2, 0}}, {0, {0x05, 0x60}}},
       {Key(0, true), Key(36'000, false), Key(60'000, true), Key(180'000, false)}},
      {23,
       {{0, {0x05, 0x40, 0x00, 0x80, 0x40}}},
       {Key(0, true), Key(60'000, false), Key(480'000, true), Key(540'000, false)}},
      {23,
       TwentyWpmWithPtt({{0, {0x05, 0xA8, 0xD8}}, {100'000, {0x34}}}),
       {Ptt(0, true), Key(25'000, true), Key(100'000, false), Ptt(300'000, false)}},
      {23,
       TwentyWpmWithPtt({{0, {0x05, 0xA8}}, {100'000, {0x34}}, {100'000, {0x35, 0, 0}}}),
       {Ptt(0, true), Key(25'000, true), Key(100'000, false), Ptt(100'000, false)}},
      {23,
       TwentyWpmWithPtt({{0, {0x35, 0, 1}}, {1000, {0x05, 0x40}}, {1'001'000, {0x35, 0, 0}}}),
       {Ptt(0, true), Key(1000, true), Key(61'000, false), Ptt(1'001'000, false)}},
      {20,
       {{0, {0x20, 30, 2, 6, 2, 0}},
        {0, {0x22, 10, 0}},
        {0, {0x30, 0x04, 0xA0, 0}},
        {0, {0x05, 0x40}}},
       {Ptt(0, true), Key(10'000, true), Key(70'000, false), Ptt(70'000, false)}},
      {19, {{0, {0x05, 0x40}}, {0, {0x35, 0, 1}}}, {}},
      {10,
       {{0, {0x01, 0x0F}},
        {1000, {0x01, 0x0D}},
        {26'000, {0x01, 0x0C}},
        {86'000, {0x01, 0x0D}},
        {286'000, {0x01, 0x0F}}},
       {Ptt(1000, true), Key(26'000, true), Key(86'000, false), Ptt(286'000, false)}},
  };
  for (const auto& c : cases) {
    SimRig rig({.firmwareVersion = c.firmware});
    Play(rig, c.commands);
    rig.timers.AdvanceMs(3000);
    EXPECT_EQ(rig.device.Transitions(), c.expected) << "firmware " << c.firmware;
  }
}

TEST(SimKeying, BufferStateCountsDownWhileSending) {
  SimRig rig;
  Play(rig, TwentyWpmWithPtt({{0, {0x05, 0xA8, 0xD8}}}));
  EXPECT_EQ(rig.device.BufferState(), 13);
  for (const auto& [at, state] : {std::pair{865'000, 14}, {1'824'999, 14}, {1'825'000, 15}}) {
    rig.timers.AdvanceTo(at);
    EXPECT_EQ(rig.device.BufferState(), state) << at;
  }
}

TEST(SimReports, StatusReportsCarryPanelAndBuffer) {
  SimRig rig;
  rig.timers.AdvanceTo(4999);
  EXPECT_TRUE(rig.ReadWaiting().empty());
  rig.timers.AdvanceTo(20'000);
  EXPECT_EQ(rig.ReadWaiting(), std::vector<Report>(4, {0, 0x33, 0, 0, 0, 0, 0, 0x60, 0xFF}));
  rig.device.ReportDecoded(0x60);
  rig.device.ReportDecoded(0x54);
  rig.device.SetInputLines(0x06);
  rig.Send({0x05, 0xA8, 0xD8});
  rig.device.SendSpeedReport(20);
  rig.device.SendModeFlagsReport(0x04, 0xA0, 0x01);
  rig.timers.AdvanceTo(25'000);
  EXPECT_EQ(rig.ReadWaiting(), (std::vector<Report>{{0, 0x21, 20, 0, 0, 2, 0x54, 0x60, 0xD6},
                                                    {0, 0x31, 4, 0xA0, 1, 2, 0x54, 0x60, 0xD6},
                                                    {0, 0x33, 0, 0, 0, 2, 0x54, 0x60, 0xD6}}));
  SimRig fast({.statusIntervalUs = 2000});
  fast.timers.AdvanceTo(10'000);
  EXPECT_EQ(fast.ReadWaiting().size(), 5u);
}

TEST(SimReports, SpeedSwitchAndPaddleShowByFirmwareAndReverse) {
  struct Case {
    unsigned firmware;
    SpeedSwitch position;
    std::vector<std::uint8_t> command;
    Paddle paddle;
    std::uint8_t byte7, lines;
  };
  const Case cases[] = {
      {23, SpeedSwitch::Rest, {}, Paddle::Dot, 0x60, 0x0B},
      {23, SpeedSwitch::Up, {}, Paddle::Dash, 0x40, 0x0E},
      {23, SpeedSwitch::Down, {}, Paddle::Both, 0x20, 0x0A},
      {22, SpeedSwitch::Up, {0x26, 0, 0, 0}, Paddle::Dot, 0x00, 0x0E},
      {20, SpeedSwitch::Rest, {0x26, 0, 0, 1}, Paddle::Dot, 0x00, 0x0B},
  };
  for (const auto& c : cases) {
    SimRig rig({.firmwareVersion = c.firmware});
    if (!c.command.empty()) Play(rig, {{0, c.command}});
    rig.device.SetSpeedSwitch(c.position);
    rig.device.SetPaddle(c.paddle);
    rig.timers.AdvanceTo(5000);
    const Report report = rig.ReadWaiting().at(0);
    EXPECT_EQ(report[7], c.byte7) << c.firmware;
    EXPECT_EQ(report[8] & 0x0F, c.lines) << c.firmware;
  }
}

TEST(SimReports, OldFirmwareAnswersEachCommandAfterThePollInterval) {
  SimRig rig({.firmwareVersion = 10});
  rig.Send({0x04, 0x0F, 3});
  rig.timers.AdvanceTo(999);
  EXPECT_TRUE(rig.ReadWaiting().empty());
  rig.device.SetPaddle(Paddle::Dot);
  rig.timers.AdvanceTo(1000);
  EXPECT_EQ(rig.ReadWaiting(), (std::vector<Report>{{0, 0x04, 0x0B, 3, 0, 0, 0, 0, 0}}));
  rig.device.SetPaddle(Paddle::None);
  rig.Send({0x04, 0x0F, 3});
  rig.Send({0x01, 0x0F});
  rig.timers.AdvanceTo(100'000);
  EXPECT_EQ(rig.ReadWaiting(), std::vector<Report>(2, {0, 0x04, 0x0F, 3, 0, 0, 0, 0, 0}));
  SimRig quick({.firmwareVersion = 19, .pollIntervalUs = 250});
  quick.Send({0x04, 0x0F, 3});
  quick.timers.AdvanceTo(250);
  EXPECT_EQ(quick.ReadWaiting().size(), 1u);
}

TEST(SimBus, EnumeratesOpensAndRecordsCommands) {
  SimRig rig({.firmwareVersion = 22});
  rig.bus.Attach(rig.timers, {.firmwareVersion = 10});
  const auto found = rig.bus.Enumerate();
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[1].path, "sim:1");
  EXPECT_EQ(rig.bus.Open("sim:1")->ManufacturerString(), u"Japan Halvix Works");
  EXPECT_EQ(rig.bus.Open("sim:2"), nullptr);
  EXPECT_EQ(rig.handle->ProductString(), u"Halvix Keyer 2.2");
  auto second = rig.bus.Open(rig.device.Path());
  rig.timers.AdvanceTo(1500);
  const std::uint8_t shortWrite[] = {0, 0x05, 0xA8};
  ASSERT_TRUE(rig.handle->Write(shortWrite, sizeof shortWrite));
  EXPECT_FALSE(rig.handle->Write(shortWrite, 0));
  rig.timers.AdvanceTo(2750);
  const Report teardown{0, 0x02, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F};
  ASSERT_TRUE(second->Write(teardown.data(), teardown.size()));
  EXPECT_EQ(
      rig.device.Commands(),
      (std::vector<ReceivedCommand>{{1500, {0, 0x05, 0xA8, 0, 0, 0, 0, 0, 0}}, {2750, teardown}}));
  Report report{};
  EXPECT_EQ(rig.handle->Read(report.data(), report.size(), 1), 0);
}

TEST(SimBus, UnplugFailsHandlesForGoodAndReleasesTheLines) {
  SimRig rig({.firmwareVersion = 10});
  int blocked = 0;
  std::thread reader([&] {
    Report report{};
    blocked = rig.handle->Read(report.data(), report.size(), -1);
  });
  ASSERT_TRUE(rig.device.WaitUntilDrained(std::chrono::seconds(5)));
  Play(rig, {{700, {0x01, 0x0C}}});
  rig.timers.AdvanceTo(900);
  rig.device.Unplug();
  reader.join();
  EXPECT_EQ(blocked, -1);
  EXPECT_EQ(rig.device.Transitions(),
            (Transitions{Key(700, true), Ptt(700, true), Key(900, false), Ptt(900, false)}));
  Report report{};
  EXPECT_TRUE(rig.bus.Enumerate().empty());
  EXPECT_EQ(rig.bus.Open("sim:0"), nullptr);
  EXPECT_FALSE(rig.Send({0x24, 0x1E}));
  EXPECT_EQ(rig.handle->Read(report.data(), report.size(), 0), -1);
  EXPECT_TRUE(rig.handle->ProductString().empty());
  rig.device.Plug();
  EXPECT_EQ(rig.bus.Enumerate().size(), 1u);
  EXPECT_FALSE(rig.Send({0x24, 0x1E}));
  auto fresh = rig.bus.Open("sim:0");
  ASSERT_NE(fresh, nullptr);
  const Report command{0, 0x24, 0x1E, 0, 0, 0, 0, 0, 0};
  EXPECT_TRUE(fresh->Write(command.data(), command.size()));
  EXPECT_EQ(rig.device.Commands().size(), 2u);
  SimRig closed;
  closed.handle.reset();
  closed.timers.AdvanceTo(50'000);
  auto late = closed.bus.Open(closed.device.Path());
  EXPECT_EQ(late->Read(report.data(), report.size(), 0), 0);
}

TEST(SimFirmware, VersionStringsAndSidetonePitch) {
  const std::tuple<unsigned, std::u16string, std::u16string> strings[] = {
      {23, u"Halvix Keyer 2.3", u"Halvix Works"},
      {0, u"Halvix Keyer 0.0", u"Halvix Works"},
      {10, u"Halvix Keyer", u"Japan Halvix Works"},
      {99, u"Halvix Keyer", u"Halvix Works"}};
  for (const auto& [version, product, manufacturer] : strings) {
    EXPECT_EQ(StringsForVersion(version).product, product);
    EXPECT_EQ(StringsForVersion(version).manufacturer, manufacturer);
  }
  EXPECT_THROW(StringsForVersion(100), std::invalid_argument);
  const std::tuple<unsigned, unsigned, unsigned> pitches[] = {
      {23, 1, 3906}, {23, 13, 300}, {23, 0, 0}, {23, 14, 0},
      {22, 3, 558},  {20, 0, 558},  {10, 7, 0}};
  for (const auto& [version, index, hz] : pitches)
    EXPECT_EQ(SidetoneHz(version, index), hz) << version << "/" << index;
}

TEST(SimFirmware, SidetoneOpensOncePerPitchAndGatesWithTheKey) {
  using Op = platform::NullToneOutput::Op;
  using Calls = std::vector<platform::NullToneOutput::Call>;
  platform::NullToneOutput tone;
  {
    Sidetone sidetone(tone);
    const std::pair<bool, unsigned> keyings[] = {{true, 558}, {false, 558}, {true, 558},
                                                 {false, 0},  {true, 0},    {true, 300}};
    for (const auto& [down, hz] : keyings) sidetone.Key(down, hz);
  }
  EXPECT_EQ(tone.Take(), (Calls{{Op::Open, 558},
                                {Op::Start, 0},
                                {Op::Pause, 0},
                                {Op::Start, 0},
                                {Op::Pause, 0},
                                {Op::Close, 0},
                                {Op::Open, 300},
                                {Op::Start, 0},
                                {Op::Close, 0}}));
  SimRig rig;
  rig.device.SetSidetone(&tone);
  rig.Send({0x05, 0x40});
  rig.timers.AdvanceMs(500);
  EXPECT_EQ(tone.Take(), (Calls{{Op::Open, 558}, {Op::Start, 0}, {Op::Pause, 0}}));
}

}  // namespace
}  // namespace vantrel::sim
