#include "sim/script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "sim/script_runner.h"
#include "sim_rig.h"

namespace vantrel::sim {
namespace {

TEST(ScriptParser, TakesEveryAction) {
  const auto parsed = ParseScript(
      "# a demo\n"
      "0 paddle dot\n"
      "10.5 paddle none   # released\n"
      "\n"
      "20 decode 60\n"
      "30 decode 0x9E\n"
      "40 input f\n"
      "50 switch up\r\n"
      "60 speed 20\n"
      "70 modeflags 04 A0 00\n"
      "80\tunplug\n"
      "90.125 plug");
  ASSERT_TRUE(parsed.errors.empty()) << FormatScriptError(parsed.errors.at(0));
  const std::vector<ScriptAction> expected{
      {.at = 0, .verb = ScriptVerb::Paddle, .paddle = Paddle::Dot, .text = "paddle dot"},
      {.at = 10'500, .verb = ScriptVerb::Paddle, .paddle = Paddle::None, .text = "paddle none"},
      {.at = 20'000, .verb = ScriptVerb::Decode, .bytes = {0x60, 0, 0}, .text = "decode 60"},
      {.at = 30'000, .verb = ScriptVerb::Decode, .bytes = {0x9E, 0, 0}, .text = "decode 0x9E"},
      {.at = 40'000, .verb = ScriptVerb::Input, .bytes = {0x0F, 0, 0}, .text = "input f"},
      {.at = 50'000, .verb = ScriptVerb::Switch, .position = SpeedSwitch::Up, .text = "switch up"},
      {.at = 60'000, .verb = ScriptVerb::Speed, .bytes = {20, 0, 0}, .text = "speed 20"},
      {.at = 70'000,
       .verb = ScriptVerb::ModeFlags,
       .bytes = {0x04, 0xA0, 0x00},
       .text = "modeflags 04 A0 00"},
      {.at = 80'000, .verb = ScriptVerb::Unplug, .text = "unplug"},
      {.at = 90'125, .verb = ScriptVerb::Plug, .text = "plug"},
  };
  EXPECT_EQ(parsed.actions, expected);
}

TEST(ScriptParser, EachBadLineGivesItsLineNumber) {
  struct Case {
    const char* line;
    const char* message;
  };
  const Case cases[] = {
      {"x paddle dot", "bad time \"x\""},
      {"-5 plug", "bad time \"-5\""},
      {"1. plug", "bad time \"1.\""},
      {"1.2345 plug", "bad time \"1.2345\""},
      {"12345678901 plug", "bad time \"12345678901\""},
      {"10", "missing action"},
      {"10 jump", "unknown action \"jump\""},
      {"10 Paddle dot", "unknown action \"Paddle\""},
      {"10 paddle", "paddle takes 1 argument(s), not 0"},
      {"10 unplug now", "unplug takes 0 argument(s), not 1"},
      {"10 modeflags 04 A0", "modeflags takes 3 argument(s), not 2"},
      {"10 paddle left", "bad argument in \"paddle left\""},
      {"10 switch sideways", "bad argument in \"switch sideways\""},
      {"10 decode 100", "bad argument in \"decode 100\""},
      {"10 decode 0x", "bad argument in \"decode 0x\""},
      {"10 input 10", "bad argument in \"input 10\""},
      {"10 speed 256", "bad argument in \"speed 256\""},
      {"10 speed 1e", "bad argument in \"speed 1e\""},
      {"10 modeflags 04 G0 00", "bad argument in \"modeflags 04 G0 00\""},
  };
  for (const auto& c : cases) {
    const auto parsed = ParseScript(std::string("0 plug\n# note\n") + c.line + "\n1 plug\n");
    EXPECT_EQ(parsed.errors, (std::vector<ScriptError>{{3, c.message}})) << c.line;
    EXPECT_EQ(parsed.actions.size(), 2u) << c.line;
  }
  EXPECT_EQ(FormatScriptError({3, "unknown action \"\xc3\xa9\""}),
            "line 3: unknown action \"\xc3\xa9\"");
  EXPECT_TRUE(ParseScript("").errors.empty());
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
