#pragma once

#include <functional>
#include <mutex>
#include <set>

#include "platform/timer.h"

namespace vantrel::sim {

// Timers whose actions run under their owner's mutex, and only while still armed: a timer
// cancelled while its callback was already on its way does nothing. Arm and cancel with the
// owner's mutex held.
class GuardedTimers {
 public:
  using Action = std::function<void(platform::Micros deadline)>;

  GuardedTimers(platform::TimerService& timers, std::mutex& mutex)
      : timers_(timers), mutex_(mutex) {}

  platform::Micros Now() const { return timers_.Now(); }
  platform::TimerService::TimerId ArmAt(platform::Micros deadline, Action action);
  void Cancel(platform::TimerService::TimerId id);
  void CancelAll();
  // Cancels everything and waits until no callback can still reach the owner; call without
  // the owner's mutex, before the owner goes away.
  void Shutdown();

 private:
  platform::TimerService& timers_;
  std::mutex& mutex_;
  std::set<platform::TimerService::TimerId> armed_;
};

}  // namespace vantrel::sim
