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

TEST(ScriptRunner, PlaysEachActionAtItsTimeAndLogsIt) {
  SimRig rig;
  std::ostringstream out;
  EventLog log(out, rig.device.StartTime());
  rig.device.SetEventLog(&log);
  const auto parsed = ParseScript(
      "1 decode 60\n2 input 6\n3 switch down\n4 speed 20\n4.5 modeflags 04 A0 00\n"
      "6 paddle both\n");
  ASSERT_TRUE(parsed.errors.empty());
  {
    ScriptRunner runner(rig.timers, rig.device, parsed.actions);
    rig.timers.AdvanceTo(4999);
  }
  rig.timers.AdvanceTo(10'000);
  rig.device.SetEventLog(nullptr);
  EXPECT_EQ(out.str(),
            "1 EVENT decode 60\n"
            "2 EVENT input 6\n"
            "3 EVENT switch down\n"
            "4 EVENT speed 20\n"
            "4 IN 00 21 14 00 00 01 60 20 F6\n"
            "4.5 EVENT modeflags 04 A0 00\n"
            "4.5 IN 00 31 04 A0 00 01 60 20 F6\n"
            "5 IN 00 33 00 00 00 01 60 20 F6\n");
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
