#pragma once

#include <cstdint>
#include <functional>

namespace vantrel::platform {

// Microseconds on a monotonic clock.
using Micros = std::int64_t;

// One-shot timers with absolute deadlines. A callback gets its own scheduled deadline, so a
// chain of timers can arm each next deadline from the previous one and never drift.
class TimerService {
 public:
  using TimerId = std::uint64_t;  // never 0
  using Callback = std::function<void(TimerId id, Micros deadline)>;

  virtual ~TimerService() = default;
  virtual Micros Now() const = 0;
  virtual TimerId ArmAt(Micros deadline, Callback callback) = 0;
  // Harmless for an id that already fired or was cancelled. A callback that is already
  // running may still complete.
  virtual void Cancel(TimerId id) = 0;
  // Returns once no callback is running on the timer thread (called without engine locks held).
  virtual void Quiesce() = 0;
};

}  // namespace vantrel::platform
