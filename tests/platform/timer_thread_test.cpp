#include "platform/linux/timer_thread.h"

#include <gtest/gtest.h>

#include <atomic>
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

// What the timer thread fired, in order, with each callback's id and deadline.
struct Fired {
  int event;
  TimerService::TimerId id;
  Micros deadline;
  bool early;
  bool operator==(const Fired&) const = default;
};

class Events {
 public:
  TimerService::Callback Record(ThreadTimerService& timers, int event) {
    return [this, &timers, event](TimerService::TimerId id, Micros deadline) {
      std::lock_guard lock(mutex_);
      fired_.push_back({event, id, deadline, timers.Now() < deadline});
      changed_.notify_all();
    };
  }
  std::vector<Fired> WaitFor(std::size_t count) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, 10s, [&] { return fired_.size() >= count; });
    return fired_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Fired> fired_;
};

TEST(ThreadTimer, FiresInDeadlineOrderThenArmingOrderNeverEarlySkipsCancelledDropsPending) {
  auto guard = std::make_shared<int>(0);
  Events events;
  {
    ThreadTimerService timers;
    const Micros base = timers.Now() + 20 * kMs;
    timers.ArmAt(base + kHour, [guard](auto, auto) { ADD_FAILURE() << "fired"; });
    const auto last = timers.ArmAt(base + 20 * kMs, events.Record(timers, 4));
    const auto first = timers.ArmAt(base, events.Record(timers, 1));
    const auto cancelled = timers.ArmAt(base + 5 * kMs, events.Record(timers, 8));
    const auto second = timers.ArmAt(base + 10 * kMs, events.Record(timers, 2));
    const auto third = timers.ArmAt(base + 10 * kMs, events.Record(timers, 3));
    timers.Cancel(cancelled);
    timers.Cancel(cancelled);
    EXPECT_EQ(events.WaitFor(4), (std::vector<Fired>{{1, first, base, false},
                                                     {2, second, base + 10 * kMs, false},
                                                     {3, third, base + 10 * kMs, false},
                                                     {4, last, base + 20 * kMs, false}}));
  }
  EXPECT_EQ(events.WaitFor(0).size(), 4u);
  EXPECT_EQ(guard.use_count(), 1);
}

TEST(ThreadTimer, QuiesceWaitsForTheRunningCallbackAndWorksIdleAndFromInside) {
  ThreadTimerService timers;
  timers.Quiesce();
  std::promise<void> started, release, inside;
  std::atomic<bool> finished = false;
  timers.ArmAt(timers.Now(), [&](auto, auto) {
    started.set_value();
    release.get_future().wait();
    timers.Quiesce();
    finished = true;
    inside.set_value();
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
  EXPECT_EQ(inside.get_future().wait_for(10s), std::future_status::ready);
}

}  // namespace
}  // namespace vantrel::platform
