#include "sim/settle.h"

#include <algorithm>

namespace vantrel::sim {

bool AdvanceAndSettle(platform::ManualTimerService& timers, SimBus& bus, platform::Micros target,
                      platform::Micros step, std::chrono::milliseconds limit) {
  if (!bus.WaitUntilDrained(limit)) return false;
  while (timers.Now() < target) {
    timers.AdvanceTo(std::min(timers.Now() + std::max<platform::Micros>(step, 1), target));
    if (!bus.WaitUntilDrained(limit)) return false;
  }
  return true;
}

}  // namespace vantrel::sim
