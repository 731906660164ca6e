#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <thread>

#include "keyer/cw_device.h"
#include "settings/data_table.h"
#include "sim/event_log.h"
#include "sim/script.h"
#include "sim/script_runner.h"
#include "sim/sidetone.h"
#include "sim_rig.h"
#include "support/settle.h"
#include "support/test_doubles.h"

namespace vantrel::sim {
namespace {

TEST(SimKeying, CommandsKeyTheLinesOnTheClock) {
  for (const auto& row : ReadTable(VANTREL_TEST_DATA "/sim_keying.txt")) {
    SCOPED_TRACE(row[0] + ": " + row[1]);
    SimRig rig({.firmwareVersion = static_cast<unsigned>(std::stoul(row[0]))});
    rig.Play(row[1]);
    rig.timers.AdvanceMs(3000);
    EXPECT_EQ(LineChanges(rig.device.Transitions()), row[2]);
  }
}

// The script runner unplugs and plugs the interface at the times it is given.
TEST(SimBus, UnplugFailsHandlesForGoodAndReleasesTheLines) {
  SimRig rig({.firmwareVersion = 10});
  ScriptRunner runner(rig.timers, rig.device, ParseScript("0.9 unplug\n1 plug\n").actions);
  int blocked = 0;
  std::thread reader([&] {
    Report report{};
    blocked = rig.handle->Read(report.data(), report.size(), -1);
  });
  ASSERT_TRUE(rig.device.WaitUntilDrained(std::chrono::seconds(5)));
  rig.Play("700: 01 0C");
  rig.timers.AdvanceTo(900);
  reader.join();
  EXPECT_EQ(blocked, -1);
  EXPECT_EQ(LineChanges(rig.device.Transitions()), "K700 P700 k900 p900");
  EXPECT_TRUE(rig.bus.Enumerate().empty());
  rig.timers.AdvanceTo(1000);
  const Report command{0, 0x24, 0x1E, 0, 0, 0, 0, 0, 0};
  EXPECT_FALSE(rig.handle->Write(command.data(), command.size()));
  auto fresh = rig.bus.Open("sim:0");
  ASSERT_NE(fresh, nullptr);
  EXPECT_TRUE(fresh->Write(command.data(), command.size()));
}

TEST(SimFirmware, VersionStringsAndSidetonePitch) {
  EXPECT_EQ(StringsForVersion(23).product, u"Halvix Keyer 2.3");
  EXPECT_EQ(StringsForVersion(10).manufacturer, u"Japan Halvix Works");
  EXPECT_THROW(StringsForVersion(100), std::invalid_argument);
  const std::tuple<unsigned, unsigned, unsigned> pitches[] = {
      {23, 1, 3906}, {23, 13, 300}, {23, 0, 0}, {23, 14, 0},
      {22, 3, 558},  {20, 0, 558},  {10, 7, 0}};
  for (const auto& [version, index, hz] : pitches)
    EXPECT_EQ(SidetoneHz(version, index), hz) << version << "/" << index;
}

TEST(SimFirmware, SidetoneOpensOncePerPitchAndGatesWithTheKey) {
  platform::NullToneOutput tone;
  {
    Sidetone sidetone(tone);
    const std::pair<bool, unsigned> keyings[] = {{true, 558}, {false, 558}, {true, 558},
                                                 {false, 0},  {true, 0},    {true, 300}};
    for (const auto& [down, hz] : keyings) sidetone.Key(down, hz);
  }
  EXPECT_EQ(platform::ToneList(tone.Take()),
            "Open558 Start0 Pause0 Start0 Pause0 Close0 Open300 Start0 Close0");
}

TEST(ScriptParser, GivesEachBadLineItsNumber) {
  for (const auto& row : ReadTable(VANTREL_TEST_DATA "/script_errors.txt")) {
    const auto bad = ParseScript("0 plug\n# note\n" + row[0] + "\n1 plug\n");
    EXPECT_EQ(bad.errors, (std::vector<ScriptError>{{3, row[1]}})) << row[0];
    EXPECT_EQ(bad.actions.size(), 2u) << row[0];
  }
  EXPECT_EQ(FormatScriptError({3, "unknown action \"\xc3\xa9\""}),
            "line 3: unknown action \"\xc3\xa9\"");
}

// Each row runs a script and commands on one interface and pins the event log it writes; the
// runner is destroyed at the first time given, the clock then runs on to the second.
TEST(ScriptRunner, PlaysEachActionAtItsTimeAndLogsIt) {
  for (const auto& row : ReadTable(VANTREL_TEST_DATA "/logs.txt")) {
    SCOPED_TRACE(row[0] + " / " + row[1] + " / " + row[2]);
    SimRig rig({.firmwareVersion = static_cast<unsigned>(std::stoul(row[0]))});
    std::ostringstream out;
    EventLog log(out, rig.device.StartTime());
    rig.device.SetEventLog(&log);
    const auto parsed = ParseScript(row[1]);
    ASSERT_TRUE(parsed.errors.empty());
    {
      ScriptRunner runner(rig.timers, rig.device, parsed.actions);
      rig.Play(row[2]);
      rig.timers.AdvanceTo(std::stoll(row[3]));
    }
    rig.timers.AdvanceTo(std::stoll(row[4]));
    rig.device.SetEventLog(nullptr);
    EXPECT_EQ(out.str(), row[5]);
  }
}

// The engine against one simulated interface, both on the manual clock.
struct Bench {
  platform::ManualTimerService timers;
  SimBus bus;
  platform::NullToneOutput tone;
  platform::RecordingKeyInjector keys;
  platform::RecordingWindow window;
  SimInterface& sim;
  std::unique_ptr<keyer::CCwDevice> device;
  platform::Micros origin = 0;

  explicit Bench(unsigned version) : sim(bus.Attach(timers, {.firmwareVersion = version})) {
    device = std::make_unique<keyer::CCwDevice>(
        keyer::CwDeviceServices{bus, timers, tone, keys, "/nonexistent", 10});
    device->SetTargetWindow(&window);
    SettleMs(10);
    sim.ClearHistory();
    origin = timers.Now();
  }

  void SettleMs(std::int64_t ms) {
    ASSERT_TRUE(AdvanceAndSettle(timers, bus, timers.Now() + ms * 1000));
  }
  std::string RelativeTransitions() { return LineChanges(sim.Transitions(), origin); }
};

// Firmware 23 keys the characters handed over with its own timing, as the simulator alone does
// for the same commands. Below 20 the lines go out in the command that answers the next input
// report. Changes made by the keying timers meet a report due in the same millisecond; the PTT
// raised by the call itself waits for the next report, one poll interval later.
TEST(EngineWithSimulator, KeysTheTextsOnTheSimulatorsClock) {
  const std::tuple<unsigned, std::vector<std::string>, std::string> cases[] = {
      {23, {"C", "Q"}, ReadTable(VANTREL_TEST_DATA "/sim_keying.txt").at(0).at(2)},
      {10, {"EE"}, "P1000 K25000 k85000 K265000 k325000 p585000"},
  };
  for (const auto& [version, texts, expected] : cases) {
    Bench bench(version);
    bench.device->SetPttDelayBefore(25);
    bench.device->SetPttDelayAfter(200);
    bench.device->SetPttControl(true);
    for (const auto& text : texts) bench.device->SendText(text);
    bench.SettleMs(2000);
    EXPECT_EQ(bench.RelativeTransitions(), expected) << version;
  }
}

TEST(EngineWithSimulator, Firmware10PaddleHeldKeysDotsUntilReleased) {
  Bench bench(10);
  bench.sim.SetPaddle(Paddle::Dot);
  bench.SettleMs(240);
  bench.sim.SetPaddle(Paddle::None);
  bench.SettleMs(300);
  EXPECT_EQ(bench.RelativeTransitions(), "K1000 k61000 K121000 k181000");
}

}  // namespace
}  // namespace vantrel::sim
