#include "support/manual_timer.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrel::platform {
namespace {

TEST(ManualTimer, FiresInDeadlineOrderThenArmingOrderOnAdvance) {
  ManualTimerService timers;
  std::vector<int> fired;
  timers.ArmAt(3000, [&](auto, auto) { fired.push_back(3); });
  timers.ArmAt(1000, [&](auto, auto) { fired.push_back(1); });
  timers.ArmAt(1000, [&](auto, auto) { fired.push_back(2); });
  timers.AdvanceTo(999);
  EXPECT_TRUE(fired.empty());
  timers.AdvanceTo(3000);
  EXPECT_EQ(fired, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(timers.Now(), 3000);
}

TEST(ManualTimer, ChainedTimersArmedFromTheirDeadlineFireWithinOneAdvance) {
  ManualTimerService timers;
  std::vector<Micros> seen;
  std::function<void(TimerService::TimerId, Micros)> step = [&](auto, Micros deadline) {
    seen.push_back(timers.Now());
    if (seen.size() < 4) timers.ArmAt(deadline + 60'000, step);
  };
  timers.ArmAt(60'000, step);
  timers.AdvanceMs(1000);
  EXPECT_EQ(seen, (std::vector<Micros>{60'000, 120'000, 180'000, 240'000}));
}

TEST(ManualTimer, CancelledTimerNeverFires) {
  ManualTimerService timers;
  bool fired = false;
  auto id = timers.ArmAt(10, [&](auto, auto) { fired = true; });
  timers.Cancel(id);
  timers.Cancel(id);
  timers.AdvanceTo(100);
  EXPECT_FALSE(fired);
  EXPECT_EQ(timers.PendingCount(), 0u);
}

}  // namespace
}  // namespace vantrel::platform
