#pragma once

#include <sys/prctl.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace vantrel::bench {

// A thread that does nothing but sleep to absolute deadlines, a dot length apart at 50 WPM,
// with the timer slack taken away as the program's timer thread has it, and notes how late it
// wakes. Run beside a measurement, it shows what the machine alone adds to any wake-up.
class BareSleeper {
 public:
  BareSleeper() : thread_([this] { Run(); }) {}
  ~BareSleeper() { Stop(); }
  BareSleeper(const BareSleeper&) = delete;
  BareSleeper& operator=(const BareSleeper&) = delete;

  // Microseconds late, one entry per wake-up.
  std::vector<double> Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return lateness_;
  }

 private:
  using Clock = std::chrono::steady_clock;
  static constexpr auto kPeriod = std::chrono::milliseconds(24);

  void Run() {
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    auto next = Clock::now();
    while (!stop_) {
      next += kPeriod;
      std::this_thread::sleep_until(next);
      lateness_.push_back(std::chrono::duration<double, std::micro>(Clock::now() - next).count());
    }
  }

  std::atomic<bool> stop_ = false;
  std::vector<double> lateness_;
  std::thread thread_;
};

}  // namespace vantrel::bench
