#pragma once

#include <mutex>
#include <utility>
#include <vector>

#include "platform/timer.h"

namespace vantrel::bench {

// Passes every timer through and notes how late each callback began after its deadline: the
// thread's wake-up delay, apart from anything the callback then waits for.
class LatenessProbeTimers final : public platform::TimerService {
 public:
  explicit LatenessProbeTimers(platform::TimerService& inner) : inner_(inner) {}
  platform::Micros Now() const override { return inner_.Now(); }
  TimerId ArmAt(platform::Micros deadline, Callback callback) override {
    return inner_.ArmAt(deadline,
                        [this, callback = std::move(callback)](TimerId id, platform::Micros due) {
                          Note(static_cast<double>(inner_.Now() - due));
                          callback(id, due);
                        });
  }
  void Cancel(TimerId id) override { inner_.Cancel(id); }
  void Quiesce() override { inner_.Quiesce(); }

  std::vector<double> Lateness() const {
    std::lock_guard lock(mutex_);
    return lateness_;
  }

 private:
  void Note(double micros) {
    std::lock_guard lock(mutex_);
    lateness_.push_back(micros);
  }

  platform::TimerService& inner_;
  mutable std::mutex mutex_;
  std::vector<double> lateness_;
};

}  // namespace vantrel::bench
