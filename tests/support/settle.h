#pragma once

#include <algorithm>
#include <chrono>

#include "sim/sim_bus.h"
#include "support/manual_timer.h"

namespace vantrel::sim {

// Moves the manual clock to `target` in steps of at most `step`, letting the host's readers
// take every report and write back after each step: with a step no longer than the poll
// interval, firmware below 20 answers each command as in real time. False when a reader did
// not settle within `limit`.
inline bool AdvanceAndSettle(platform::ManualTimerService& timers, SimBus& bus,
                             platform::Micros target, platform::Micros step = 1000,
                             std::chrono::milliseconds limit = std::chrono::seconds(5)) {
  if (!bus.WaitUntilDrained(limit)) return false;
  while (timers.Now() < target) {
    timers.AdvanceTo(std::min(timers.Now() + std::max<platform::Micros>(step, 1), target));
    if (!bus.WaitUntilDrained(limit)) return false;
  }
  return true;
}

}  // namespace vantrel::sim
