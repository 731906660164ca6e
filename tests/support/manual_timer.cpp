#include "support/manual_timer.h"

#include <algorithm>

namespace vantrel::platform {

Micros ManualTimerService::Now() const {
  std::lock_guard lock(mutex_);
  return now_;
}

TimerService::TimerId ManualTimerService::ArmAt(Micros deadline, Callback callback) {
  std::lock_guard lock(mutex_);
  const TimerId id = nextId_++;
  pending_.emplace(std::make_pair(deadline, id), std::move(callback));
  return id;
}

void ManualTimerService::Cancel(TimerId id) {
  std::lock_guard lock(mutex_);
  std::erase_if(pending_, [id](const auto& entry) { return entry.first.second == id; });
}

void ManualTimerService::AdvanceTo(Micros target) {
  for (;;) {
    std::unique_lock lock(mutex_);
    if (pending_.empty() || pending_.begin()->first.first > target) {
      now_ = std::max(now_, target);
      return;
    }
    auto node = pending_.extract(pending_.begin());
    const auto [deadline, id] = node.key();
    now_ = std::max(now_, deadline);
    lock.unlock();
    node.mapped()(id, deadline);
  }
}

std::size_t ManualTimerService::PendingCount() const {
  std::lock_guard lock(mutex_);
  return pending_.size();
}

}  // namespace vantrel::platform
