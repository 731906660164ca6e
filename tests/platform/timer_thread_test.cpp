#include "platform/linux/timer_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vantrel::platform {
namespace {

using namespace std::chrono_literals;

constexpr Micros kMs = 1000;
constexpr Micros kHour = 3600 * 1000 * kMs;
constexpr auto kGenerous = 10s;

// Collects what the timer thread reports and lets the test wait for it.
class Events {
 public:
  void Add(int event) {
    std::lock_guard lock(mutex_);
    events_.push_back(event);
    changed_.notify_all();
  }
  bool WaitForCount(std::size_t count) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, kGenerous, [&] { return events_.size() >= count; });
  }
  std::vector<int> Snapshot() {
    std::lock_guard lock(mutex_);
    return events_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<int> events_;
};

TEST(ThreadTimer, FiresInDeadlineOrderThenArmingOrderAndNeverEarly) {
  ThreadTimerService timers;
  Events events;
  std::atomic<bool> early = false;
  const Micros base = timers.Now() + 20 * kMs;
  auto record = [&](int event) {
    return [&, event](TimerService::TimerId, Micros deadline) {
      if (timers.Now() < deadline) early = true;
      events.Add(event);
    };
  };
  timers.ArmAt(base + 20 * kMs, record(4));
  timers.ArmAt(base, record(1));
  timers.ArmAt(base + 10 * kMs, record(2));
  timers.ArmAt(base + 10 * kMs, record(3));
  ASSERT_TRUE(events.WaitForCount(4));
  EXPECT_EQ(events.Snapshot(), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_FALSE(early);
}

TEST(ThreadTimer, CallbackReceivesItsIdAndScheduledDeadline) {
  ThreadTimerService timers;
  std::promise<std::pair<TimerService::TimerId, Micros>> seen;
  const Micros deadline = timers.Now() + 5 * kMs;
  const auto id = timers.ArmAt(deadline, [&](auto firedId, Micros firedDeadline) {
    seen.set_value({firedId, firedDeadline});
  });
  auto result = seen.get_future();
  ASSERT_EQ(result.wait_for(kGenerous), std::future_status::ready);
  EXPECT_EQ(result.get(), std::make_pair(id, deadline));
}

TEST(ThreadTimer, AnEarlierTimerArmedLaterWakesTheThread) {
  ThreadTimerService timers;
  Events events;
  timers.ArmAt(timers.Now() + kHour, [&](auto, auto) { events.Add(2); });
  timers.ArmAt(timers.Now() + 5 * kMs, [&](auto, auto) { events.Add(1); });
  ASSERT_TRUE(events.WaitForCount(1));
  EXPECT_EQ(events.Snapshot(), std::vector<int>{1});
}

TEST(ThreadTimer, CancelledTimerNeverFiresAndCancelTwiceIsHarmless) {
  ThreadTimerService timers;
  Events events;
  const Micros base = timers.Now() + 10 * kMs;
  const auto cancelled = timers.ArmAt(base, [&](auto, auto) { events.Add(1); });
  timers.ArmAt(base + 10 * kMs, [&](auto, auto) { events.Add(2); });
  timers.Cancel(cancelled);
  timers.Cancel(cancelled);
  ASSERT_TRUE(events.WaitForCount(1));
  EXPECT_EQ(events.Snapshot(), std::vector<int>{2});
}

TEST(ThreadTimer, CallbacksReArmFromTheirDeadlineAndCancelOtherTimers) {
  ThreadTimerService timers;
  Events events;
  std::vector<Micros> deadlines;
  TimerService::TimerId victim = 0;
  std::function<void(TimerService::TimerId, Micros)> step = [&](auto id, Micros deadline) {
    timers.Cancel(id);
    timers.Cancel(victim);
    deadlines.push_back(deadline);
    if (deadlines.size() < 5) timers.ArmAt(deadline + 2 * kMs, step);
    events.Add(1);
  };
  const Micros start = timers.Now() + 5 * kMs;
  victim = timers.ArmAt(start + 3 * kMs, [&](auto, auto) { events.Add(99); });
  timers.ArmAt(start, step);
  ASSERT_TRUE(events.WaitForCount(5));
  timers.Quiesce();
  EXPECT_EQ(events.Snapshot(), std::vector<int>(5, 1));
  EXPECT_EQ(deadlines, (std::vector<Micros>{start, start + 2 * kMs, start + 4 * kMs,
                                            start + 6 * kMs, start + 8 * kMs}));
}

TEST(ThreadTimer, QuiesceReturnsOnlyAfterTheRunningCallbackCompletes) {
  ThreadTimerService timers;
  std::promise<void> started;
  std::promise<void> release;
  std::atomic<bool> finished = false;
  timers.ArmAt(timers.Now(), [&](auto, auto) {
    started.set_value();
    release.get_future().wait();
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

TEST(ThreadTimer, QuiesceReturnsWhenIdleAndFromInsideACallback) {
  ThreadTimerService timers;
  timers.Quiesce();
  std::promise<void> done;
  timers.ArmAt(timers.Now(), [&](auto, auto) {
    timers.Quiesce();
    done.set_value();
  });
  EXPECT_EQ(done.get_future().wait_for(kGenerous), std::future_status::ready);
}

TEST(ThreadTimer, DestructionDropsPendingTimersUnfired) {
  auto guard = std::make_shared<int>(0);
  std::atomic<bool> fired = false;
  {
    ThreadTimerService timers;
    timers.ArmAt(timers.Now() + kHour, [&fired, guard](auto, auto) { fired = true; });
    timers.ArmAt(timers.Now() + 2 * kHour, [&fired, guard](auto, auto) { fired = true; });
  }
  EXPECT_FALSE(fired);
  EXPECT_EQ(guard.use_count(), 1);
}

TEST(ThreadTimer, ArmAndCancelFromManyThreads) {
  ThreadTimerService timers;
  Events events;
  constexpr int kThreads = 4;
  constexpr int kPerThread = 100;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < kPerThread; ++i) {
        timers.ArmAt(timers.Now() + (i % 5) * kMs, [&](auto, auto) { events.Add(1); });
        timers.Cancel(timers.ArmAt(timers.Now() + kHour, [&](auto, auto) { events.Add(2); }));
      }
    });
  }
  for (auto& thread : threads) thread.join();
  ASSERT_TRUE(events.WaitForCount(kThreads * kPerThread));
  timers.Quiesce();
  EXPECT_EQ(events.Snapshot(), std::vector<int>(kThreads * kPerThread, 1));
}

}  // namespace
}  // namespace vantrel::platform
