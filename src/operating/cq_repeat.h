#pragma once

namespace vantrel::operating {

// Further CQ calls after the first: a fixed number, or without end.
inline constexpr int kCqRepeatCalls = 20;
inline constexpr int kEndlessCqRepeat = -1;

// The pause between CQ calls: `CqLoopInterval` seconds as whole milliseconds, truncated.
// The product is formed in float, as the setting is stored.
unsigned CqTimerMilliseconds(float cqLoopInterval);

// How far a CQ repeat has got: the further calls left and whether the pause before the next
// one is running.
class CqRepeat {
 public:
  int Count() const { return count_; }
  bool Active() const { return count_ != 0; }
  bool TimerRunning() const { return timerRunning_; }

  // `count` further calls after the one about to go; -1 repeats until ended. A running pause
  // is left alone.
  void Start(int count) { count_ = count; }
  void End() { count_ = 0; }
  // The pause before the next call begins; a counted repeat has one call fewer left.
  void PauseStarted() {
    if (count_ > 0) --count_;
    timerRunning_ = true;
  }
  void PauseEnded() { timerRunning_ = false; }

  bool operator==(const CqRepeat&) const = default;

 private:
  int count_ = 0;
  bool timerRunning_ = false;
};

}  // namespace vantrel::operating
