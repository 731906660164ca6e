#include "support/manual_timer.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace vantrel::platform {
namespace {

// Deadline order, then arming order; chains armed from a deadline fire within one advance.
TEST(ManualTimer, FiresInOrderChainsWithinOneAdvanceAndSkipsCancelled) {
  ManualTimerService timers;
  std::vector<Micros> fired;
  std::function<void(TimerService::TimerId, Micros)> step = [&](auto, Micros deadline) {
    fired.push_back(timers.Now());
    if (deadline < 3000) timers.ArmAt(deadline + 1000, step);
  };
  timers.ArmAt(1000, step);
  timers.ArmAt(1000, [&](auto, auto) { fired.push_back(-1); });
  const auto cancelled = timers.ArmAt(10, [&](auto, auto) { fired.push_back(-2); });
  timers.Cancel(cancelled);
  timers.Cancel(cancelled);
  timers.AdvanceTo(999);
  EXPECT_TRUE(fired.empty());
  timers.AdvanceTo(5000);
  EXPECT_EQ(fired, (std::vector<Micros>{1000, -1, 2000, 3000}));
  EXPECT_EQ(timers.Now(), 5000);
  EXPECT_EQ(timers.PendingCount(), 0u);
}

}  // namespace
}  // namespace vantrel::platform
