#include "ui/cq_repeat_timer.h"

namespace vantrel::ui {

CqRepeatTimer::~CqRepeatTimer() {
  Kill();
  timers_.Quiesce();
}

void CqRepeatTimer::Start(unsigned milliseconds) {
  Kill();
  const platform::Micros deadline = timers_.Now() + platform::Micros{milliseconds} * 1000;
  armed_ = timers_.ArmAt(deadline, [this](platform::TimerService::TimerId id, platform::Micros) {
    QMetaObject::invokeMethod(
        &context_, [this, id] { Fire(id); }, Qt::QueuedConnection);
  });
}

void CqRepeatTimer::Kill() {
  if (armed_ != 0) timers_.Cancel(armed_);
  armed_ = 0;
}

void CqRepeatTimer::Fire(platform::TimerService::TimerId id) {
  if (id != armed_) return;
  armed_ = 0;
  onFire_();
}

}  // namespace vantrel::ui
