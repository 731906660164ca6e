#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "keyer/split.h"
#include "platform/hid.h"
#include "settings/data_table.h"
#include "sim/event_log.h"
#include "sim/script.h"
#include "sim/script_runner.h"
#include "sim/sidetone.h"
#include "sim/sim_bus.h"
#include "sim/sim_interface.h"
#include "sim/wire_names.h"
#include "support/manual_timer.h"
#include "support/test_doubles.h"

namespace vantrel::sim {
namespace {

// One simulated interface on a manual clock, with one handle open to it.
struct SimRig {
  explicit SimRig(SimConfig config = {})
      : device(bus.Attach(timers, config)), handle(bus.Open(device.Path())) {}

  // Writes "at-µs: bytes after the report id; ..." each at its time on the clock.
  void Play(const std::string& commands) {
    for (const auto& command : vantrel::testing::Split(commands)) {
      const auto colon = command.find(':');
      timers.AdvanceTo(std::stoll(command.substr(0, colon)));
      Report report{};
      std::istringstream in(command.substr(colon + 1));
      for (unsigned i = 1, value = 0; in >> std::hex >> value; ++i) report[i] = value;
      handle->Write(report.data(), report.size());
    }
  }

  platform::ManualTimerService timers;
  SimBus bus;
  SimInterface& device;
  std::unique_ptr<platform::HidDevice> handle;
};

// "K25000 k205000 P0": each line change with its time, K/P on and k/p off.
std::string LineChanges(const std::vector<LineTransition>& transitions) {
  std::string text;
  for (const auto& t : transitions) {
    const char name = t.line == Line::Key ? (t.on ? 'K' : 'k') : (t.on ? 'P' : 'p');
    text += (text.empty() ? "" : " ") + (name + std::to_string(t.at));
  }
  return text;
}

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

}  // namespace
}  // namespace vantrel::sim
