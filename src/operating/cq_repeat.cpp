#include "operating/cq_repeat.h"

namespace vantrel::operating {

unsigned CqTimerMilliseconds(float cqLoopInterval) {
  const float milliseconds = cqLoopInterval * 1000.0f;
  return milliseconds > 0.0f ? static_cast<unsigned>(milliseconds) : 0u;
}

void CqRepeat::Start(int count) {
  context_.Wake();
  progress_.count = count;
}

void CqRepeat::End() {
  context_.Wake();
  progress_.count = 0;
}

void CqRepeat::KillTimer() {
  context_.view.KillCqTimer();
  context_.Wake();
  progress_.timerRunning = false;
}

void CqRepeat::StartTimer() {
  context_.view.StartCqTimer(CqTimerMilliseconds(context_.settings.CqLoopInterval));
  context_.Wake();
  if (progress_.count > 0) --progress_.count;
  progress_.timerRunning = true;
}

void CqRepeat::CallHandedOver() {
  context_.Wake();
  if (progress_.count != 0 && !progress_.timerRunning) StartTimer();
}

}  // namespace vantrel::operating
