#include "sim/script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "sim/script_runner.h"
#include "sim_rig.h"

namespace vantrel::sim {
namespace {

TEST(ScriptParser, TakesEveryActionAndGivesEachBadLineItsNumber) {
  const auto parsed = ParseScript(
      "# a demo\n0 paddle dot\n10.5 paddle none   # released\n\n30 decode 0x9E\n40 input f\n"
      "50 switch up\r\n70 modeflags 04 A0 00\n80\tunplug\n90.125 plug");
  ASSERT_TRUE(parsed.errors.empty()) << FormatScriptError(parsed.errors.at(0));
  const std::vector<ScriptAction> expected{
      {.at = 0, .verb = ScriptVerb::Paddle, .paddle = Paddle::Dot, .text = "paddle dot"},
      {.at = 10'500, .verb = ScriptVerb::Paddle, .paddle = Paddle::None, .text = "paddle none"},
      {.at = 30'000, .verb = ScriptVerb::Decode, .bytes = {0x9E, 0, 0}, .text = "decode 0x9E"},
      {.at = 40'000, .verb = ScriptVerb::Input, .bytes = {0x0F, 0, 0}, .text = "input f"},
      {.at = 50'000, .verb = ScriptVerb::Switch, .position = SpeedSwitch::Up, .text = "switch up"},
      {.at = 70'000,
       .verb = ScriptVerb::ModeFlags,
       .bytes = {0x04, 0xA0, 0x00},
       .text = "modeflags 04 A0 00"},
      {.at = 80'000, .verb = ScriptVerb::Unplug, .text = "unplug"},
      {.at = 90'125, .verb = ScriptVerb::Plug, .text = "plug"},
  };
  EXPECT_EQ(parsed.actions, expected);
  for (const auto& row : vantrel::testing::Golden(VANTREL_TEST_DATA "/script_errors.txt")) {
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
  for (const auto& row : vantrel::testing::Golden(VANTREL_TEST_DATA "/logs.txt")) {
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

TEST(ScriptRunner, UnplugAndPlugTheInterface) {
  SimRig rig;
  const auto parsed = ParseScript("1 unplug\n2 plug\n");
  ScriptRunner runner(rig.timers, rig.device, parsed.actions);
  rig.timers.AdvanceTo(1000);
  EXPECT_TRUE(rig.bus.Enumerate().empty());
  rig.timers.AdvanceTo(2000);
  EXPECT_EQ(rig.bus.Enumerate().size(), 1u);
}

}  // namespace
}  // namespace vantrel::sim
