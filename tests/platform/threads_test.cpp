#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/linux/realtime_threads.h"
#include "platform/linux/timer_thread.h"

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

int Policy() {
  return sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
}

// A real-time thread that runs on without sleeping past the soft RLIMIT_RTTIME drops back to
// ordinary scheduling, and the process lives on. The soft limit is shortened to 50 ms here; the
// hard one (200 ms) would kill the process.
TEST(RealtimeThreads, ARunawayThreadDropsBackToOrdinarySchedulingAndTheProcessLivesOn) {
  rlimit limit{};
  getrlimit(RLIMIT_RTTIME, &limit);
  limit.rlim_cur = 50'000;
  ASSERT_EQ(setrlimit(RLIMIT_RTTIME, &limit), 0);
  RealtimeThreads realtime;
  int before = -1, after = -1;
  std::thread runaway([&] {
    realtime.MakeThreadRealtime(CurrentThreadId());
    before = Policy();
    // A lock taken on every turn lets ThreadSanitizer deliver the signal; it never sleeps.
    std::mutex turn;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (Policy() == SCHED_FIFO && std::chrono::steady_clock::now() < end) {
      std::lock_guard lock(turn);
    }
    after = Policy();
  });
  runaway.join();
  if (before != SCHED_FIFO) GTEST_SKIP() << "this process may not use real-time scheduling";
  EXPECT_EQ(after, SCHED_OTHER);
}

}  // namespace
}  // namespace vantrel::platform
