#pragma once

#include <map>
#include <mutex>
#include <utility>

#include "platform/timer.h"

namespace vantrel::platform {

// A clock that only moves when a test advances it. Due callbacks run on the advancing
// thread in deadline order (ties in arming order), so every run is deterministic.
class ManualTimerService final : public TimerService {
 public:
  Micros Now() const override;
  TimerId ArmAt(Micros deadline, Callback callback) override;
  void Cancel(TimerId id) override;
  void Quiesce() override {}

  // Fires every timer due up to and including `target`, moving the clock to each deadline.
  void AdvanceTo(Micros target);
  void AdvanceBy(Micros delta) { AdvanceTo(Now() + delta); }
  void AdvanceMs(std::int64_t ms) { AdvanceBy(ms * 1000); }
  std::size_t PendingCount() const;

 private:
  mutable std::mutex mutex_;
  Micros now_ = 0;
  TimerId nextId_ = 1;
  // Keyed by (deadline, id): ids grow, so ties fire in arming order.
  std::map<std::pair<Micros, TimerId>, Callback> pending_;
};

}  // namespace vantrel::platform
