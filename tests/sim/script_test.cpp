#include "sim/script.h"

#include <gtest/gtest.h>

#include <sstream>

#include "sim/event_log.h"
#include "sim/script_runner.h"
#include "sim_rig.h"

namespace vantrel::sim {
namespace {

TEST(ScriptParser, GivesEachBadLineItsNumber) {
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
