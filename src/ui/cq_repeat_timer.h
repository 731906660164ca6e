#pragma once

#include <QObject>

#include <functional>

#include "platform/timer.h"

namespace vantrel::ui {

// The window's one-shot CQ repeat timer, on the same clock as the keyer engine. It fires on
// the window's thread; a timer killed or restarted before its expiry is handled never fires.
// It keeps only the handle of the armed timer: whether the pause runs is the CQ repeat's.
class CqRepeatTimer {
 public:
  CqRepeatTimer(platform::TimerService& timers, std::function<void()> onFire)
      : timers_(timers), onFire_(std::move(onFire)) {}
  ~CqRepeatTimer();
  CqRepeatTimer(const CqRepeatTimer&) = delete;
  CqRepeatTimer& operator=(const CqRepeatTimer&) = delete;

  void Start(unsigned milliseconds);
  void Kill();

 private:
  void Fire(platform::TimerService::TimerId id);

  platform::TimerService& timers_;
  std::function<void()> onFire_;
  platform::TimerService::TimerId armed_ = 0;
  QObject context_;
};

}  // namespace vantrel::ui
