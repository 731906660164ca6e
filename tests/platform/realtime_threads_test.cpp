#include "platform/linux/realtime_threads.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>

#include <chrono>
#include <mutex>
#include <thread>

namespace vantrel::platform {
namespace {

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
