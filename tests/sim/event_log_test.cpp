#include "sim/event_log.h"

#include <gtest/gtest.h>

#include <sstream>

#include "sim_rig.h"

namespace vantrel::sim {
namespace {

TEST(EventLog, TimesAreMillisecondsWithDecimalsOnlyWhenNeeded) {
  const std::pair<platform::Micros, const char*> cases[] = {
      {0, "0"}, {1000, "1"}, {1500, "1.5"}, {1234, "1.234"}, {25, "0.025"}, {120'050, "120.05"},
  };
  for (const auto& [micros, text] : cases) EXPECT_EQ(FormatLogTime(micros), text);
}

TEST(EventLog, WritesOneLinePerEventInTheLogFormat) {
  std::ostringstream out;
  EventLog log(out, 10'000);
  log.Out(10'000, {0, 0x05, 0xA8, 0, 0, 0, 0, 0, 0});
  log.Transition({35'000, Line::Key, true});
  log.Transition({1'845'500, Line::Ptt, false});
  log.In(40'000, {0, 0x21, 0x1E, 0, 0, 0, 0, 0x60, 0xFF});
  log.Event(41'000, "paddle dot");
  EXPECT_EQ(out.str(),
            "0 OUT 00 05 A8 00 00 00 00 00 00\n"
            "25 KEY 1\n"
            "1835.5 PTT 0\n"
            "30 IN 00 21 1E 00 00 00 00 60 FF\n"
            "31 EVENT paddle dot\n");
}

TEST(EventLog, LeavesOutStatusReportsRepeatedWhileIdle) {
  const Report idle{0, 0x33, 0, 0, 0, 0, 0, 0x60, 0xFF};
  const Report busy{0, 0x33, 0, 0, 0, 0, 0, 0x60, 0xEF};
  const Report paddle{0, 0x33, 0, 0, 0, 0, 0, 0x60, 0xFB};
  std::ostringstream out;
  EventLog log(out, 0);
  for (const auto& report : {idle, idle, busy, busy, idle, idle, paddle, paddle}) {
    log.In(0, report);
  }
  EXPECT_EQ(out.str(),
            "0 IN 00 33 00 00 00 00 00 60 FF\n"
            "0 IN 00 33 00 00 00 00 00 60 EF\n"
            "0 IN 00 33 00 00 00 00 00 60 EF\n"
            "0 IN 00 33 00 00 00 00 00 60 FF\n"
            "0 IN 00 33 00 00 00 00 00 60 FB\n");
}

}  // namespace
}  // namespace vantrel::sim
