#include "sim/guarded_timers.h"

#include <utility>

namespace vantrel::sim {

platform::TimerService::TimerId GuardedTimers::ArmAt(platform::Micros deadline, Action action) {
  const auto id = timers_.ArmAt(deadline, [this, action = std::move(action)](auto id, auto at) {
    std::lock_guard lock(mutex_);
    if (armed_.erase(id) == 0) return;
    action(at);
  });
  armed_.insert(id);
  return id;
}

void GuardedTimers::Cancel(platform::TimerService::TimerId id) {
  if (armed_.erase(id) != 0) timers_.Cancel(id);
}

void GuardedTimers::CancelAll() {
  for (const auto id : armed_) timers_.Cancel(id);
  armed_.clear();
}

void GuardedTimers::Shutdown() {
  {
    std::lock_guard lock(mutex_);
    CancelAll();
  }
  timers_.Quiesce();
}

}  // namespace vantrel::sim
