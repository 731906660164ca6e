#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/realtime.h"
#include "platform/timer.h"

namespace vantrel::platform {

// One timer thread serving absolute deadlines on the steady clock; Now() counts from the
// service's construction. Callbacks run on that thread without the service's lock held, so
// they may arm and cancel timers. Destroying the service drops pending timers unfired; it
// must not be destroyed from inside one of its own callbacks.
class ThreadTimerService final : public TimerService {
 public:
  // `name` names the thread (a literal; at most 15 characters are kept). With `realtime` the
  // thread asks it for real-time scheduling as it starts; `realtime` must outlive the service.
  explicit ThreadTimerService(const char* name = "vantrel-timer",
                              RealtimeRequest* realtime = nullptr);
  ~ThreadTimerService() override;
  ThreadTimerService(const ThreadTimerService&) = delete;
  ThreadTimerService& operator=(const ThreadTimerService&) = delete;

  Micros Now() const override;
  TimerId ArmAt(Micros deadline, Callback callback) override;
  void Cancel(TimerId id) override;
  // From inside a callback it returns at once: waiting there could never end.
  void Quiesce() override;

 private:
  using Clock = std::chrono::steady_clock;
  using Key = std::pair<Micros, TimerId>;

  void Run();
  void FireFront(std::unique_lock<std::mutex>& lock);
  Clock::time_point ToTimePoint(Micros micros) const;

  const char* const name_;
  RealtimeRequest* const realtime_;
  const Clock::time_point epoch_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  // Keyed by (deadline, id): ids grow, so ties fire in arming order.
  std::map<Key, Callback> pending_;
  TimerId nextId_ = 1;
  bool firing_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace vantrel::platform
