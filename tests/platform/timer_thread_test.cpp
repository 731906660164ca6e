#include "platform/linux/timer_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>
#include <thread>
#include <tuple>
#include <vector>

namespace vantrel::platform {
namespace {

using namespace std::chrono_literals;

constexpr Micros kMs = 1000;

TEST(ThreadTimer, FiresInDeadlineOrderThenArmingOrderNeverEarlySkipsCancelledDropsPending) {
  auto guard = std::make_shared<int>(0);
  // Each callback's event, id, deadline and whether it came early.
  std::vector<std::tuple<int, TimerService::TimerId, Micros, bool>> fired;
  std::promise<void> lastFired;
  {
    ThreadTimerService timers;
    const auto record = [&](int event) {
      return [&, event](TimerService::TimerId id, Micros deadline) {
        fired.emplace_back(event, id, deadline, timers.Now() < deadline);
        if (event == 4) lastFired.set_value();
      };
    };
    const Micros base = timers.Now() + 20 * kMs;
    timers.ArmAt(base + 3600'000 * kMs, [guard](auto, auto) { ADD_FAILURE() << "fired"; });
    const auto last = timers.ArmAt(base + 20 * kMs, record(4));
    const auto first = timers.ArmAt(base, record(1));
    const auto cancelled = timers.ArmAt(base + 5 * kMs, record(8));
    const auto second = timers.ArmAt(base + 10 * kMs, record(2));
    const auto third = timers.ArmAt(base + 10 * kMs, record(3));
    timers.Cancel(cancelled);
    timers.Cancel(cancelled);
    ASSERT_EQ(lastFired.get_future().wait_for(10s), std::future_status::ready);
    EXPECT_EQ(fired, (decltype(fired){{1, first, base, false},
                                      {2, second, base + 10 * kMs, false},
                                      {3, third, base + 10 * kMs, false},
                                      {4, last, base + 20 * kMs, false}}));
  }
  EXPECT_EQ(guard.use_count(), 1);
}

TEST(ThreadTimer, QuiesceWaitsForTheRunningCallbackAndWorksIdleAndFromInside) {
  ThreadTimerService timers;
  timers.Quiesce();
  std::promise<void> started, release;
  std::atomic<bool> finished = false;
  timers.ArmAt(timers.Now(), [&](auto, auto) {
    started.set_value();
    release.get_future().wait();
    timers.Quiesce();
    finished = true;
  });
  started.get_future().wait();
  bool finishedWhenQuiet = false;
  std::thread quiescer([&] {
    timers.Quiesce();
    finishedWhenQuiet = finished;
  });
  std::this_thread::sleep_for(20ms);
  release.set_value();
  quiescer.join();
  EXPECT_TRUE(finishedWhenQuiet);
}

}  // namespace
}  // namespace vantrel::platform
