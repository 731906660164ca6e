#pragma once

#include <algorithm>
#include <map>
#include <mutex>
#include <utility>

#include "platform/timer.h"

namespace vantrel::platform {

// A clock that only moves when a test advances it. Due callbacks run on the advancing
// thread in deadline order (ties in arming order), so every run is deterministic.
class ManualTimerService final : public TimerService {
 public:
  Micros Now() const override {
    std::lock_guard lock(mutex_);
    return now_;
  }
  TimerId ArmAt(Micros deadline, Callback callback) override {
    std::lock_guard lock(mutex_);
    const TimerId id = nextId_++;
    pending_.emplace(std::make_pair(deadline, id), std::move(callback));
    return id;
  }
  void Cancel(TimerId id) override {
    std::lock_guard lock(mutex_);
    std::erase_if(pending_, [id](const auto& entry) { return entry.first.second == id; });
  }
  void Quiesce() override {}

  // Fires every timer due up to and including `target`, moving the clock to each deadline.
  void AdvanceTo(Micros target) {
    std::unique_lock lock(mutex_);
    while (!pending_.empty() && pending_.begin()->first.first <= target) {
      auto node = pending_.extract(pending_.begin());
      const auto [deadline, id] = node.key();
      now_ = std::max(now_, deadline);
      lock.unlock();
      node.mapped()(id, deadline);
      lock.lock();
    }
    now_ = std::max(now_, target);
  }
  void AdvanceMs(std::int64_t ms) { AdvanceTo(Now() + ms * 1000); }
  std::size_t PendingCount() const {
    std::lock_guard lock(mutex_);
    return pending_.size();
  }

 private:
  mutable std::mutex mutex_;
  Micros now_ = 0;
  TimerId nextId_ = 1;
  // Keyed by (deadline, id): ids grow, so ties fire in arming order.
  std::map<std::pair<Micros, TimerId>, Callback> pending_;
};

}  // namespace vantrel::platform
