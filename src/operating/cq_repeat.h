#pragma once

#include "operating/operating_context.h"

namespace vantrel::operating {

// Further CQ calls after the first: a fixed number, or without end.
inline constexpr int kCqRepeatCalls = 20;
inline constexpr int kEndlessCqRepeat = -1;

// The pause between CQ calls: `CqLoopInterval` seconds as whole milliseconds, truncated.
// The product is formed in float, as the setting is stored.
unsigned CqTimerMilliseconds(float cqLoopInterval);

// The CQ repeat: the further calls left and whether the pause before the next one runs. It
// alone knows whether the window's CQ timer is running; the timer only fires.
class CqRepeat {
 public:
  struct Progress {
    int count = 0;
    bool timerRunning = false;
    bool operator==(const Progress&) const = default;
  };

  explicit CqRepeat(OperatingContext& context) : context_(context) {}

  const Progress& State() const { return progress_; }
  int Count() const { return progress_.count; }
  bool Active() const { return progress_.count != 0; }
  bool TimerRunning() const { return progress_.timerRunning; }

  // `count` further calls after the one about to go; -1 repeats until ended. A running pause
  // is left alone.
  void Start(int count);
  void End();
  void KillTimer();
  // The pause before the next call begins; a counted repeat has one call fewer left.
  void StartTimer();
  // The call's last character has been handed over, so the pause counts from about the end of
  // the call.
  void CallHandedOver();

 private:
  OperatingContext& context_;
  Progress progress_;
};

}  // namespace vantrel::operating
