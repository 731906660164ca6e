#pragma once

#include <utility>

#include "platform/timer.h"

namespace vantrel::bench {

// Hands each callback the moment it actually ran instead of its scheduled deadline, so every
// following timer is armed relative to the late firing: the classic drifting scheme, kept as
// the reference the real timers are compared with.
class FiringRelativeTimers final : public platform::TimerService {
 public:
  explicit FiringRelativeTimers(platform::TimerService& inner) : inner_(inner) {}
  platform::Micros Now() const override { return inner_.Now(); }
  TimerId ArmAt(platform::Micros deadline, Callback callback) override {
    return inner_.ArmAt(deadline,
                        [this, callback = std::move(callback)](TimerId id, platform::Micros) {
                          callback(id, inner_.Now());
                        });
  }
  void Cancel(TimerId id) override { inner_.Cancel(id); }
  void Quiesce() override { inner_.Quiesce(); }

 private:
  platform::TimerService& inner_;
};

}  // namespace vantrel::bench
