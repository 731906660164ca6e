#include <gtest/gtest.h>

#include "engine_rig.h"
#include "keyer/keyer_messages.h"

namespace vantrel::keyer::testing {
namespace {

// Steps the manual clock one millisecond at a time and notes, with its time, every change of
// the key (K down, k up) and PTT (P on, p off) lines from their state at rest, and every
// text-done message (D): "P0 K25 k85 D265".
std::string Timeline(EngineRig& rig, std::int64_t untilMs) {
  std::string events;
  std::uint8_t lines = 0x0F;
  auto note = [&](const char* what, std::int64_t ms) {
    events += (events.empty() ? "" : " ") + std::string(what) + std::to_string(ms);
  };
  for (std::int64_t ms = 0; ms <= untilMs; ++ms) {
    if (ms > 0) rig.timers.AdvanceMs(1);
    const std::uint8_t now = rig.device->OutputLines();
    if ((now ^ lines) & 0x02) note((now & 0x02) ? "p" : "P", ms);
    if ((now ^ lines) & 0x01) note((now & 0x01) ? "k" : "K", ms);
    lines = now;
    for (const auto& m : rig.window.Take()) {
      if (m.message == WM_KEYER_TEXT_DONE) note("D", ms);
    }
  }
  return events;
}

TEST(PcKeying, ElementsGapsAndPttFollowTheClockAndTruncatedFloatProducts) {
  for (const auto& row : Golden(VANTREL_TEST_DATA "/pc_timings.txt")) {
    SCOPED_TRACE(row[0]);
    EngineRig rig(0);
    Act(*rig.device, row[0]);
    EXPECT_EQ(Timeline(rig, 1600), row[1]);
    EXPECT_EQ(static_cast<int>(rig.device->GetPttState()), std::stoi(row[2]));
  }
}

}  // namespace
}  // namespace vantrel::keyer::testing
