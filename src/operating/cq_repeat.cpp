#include "operating/cq_repeat.h"

#include "operating/operating_logic.h"

namespace vantrel::operating {
namespace {

// The interface input that starts a CQ repeat; any other value ends one.
constexpr std::intptr_t kCqStartInput = 13;

}  // namespace

unsigned CqTimerMilliseconds(float cqLoopInterval) {
  const float milliseconds = cqLoopInterval * 1000.0f;
  return milliseconds > 0.0f ? static_cast<unsigned>(milliseconds) : 0u;
}

// Bank A's first message from the settings, not F1's caption: Ctrl held still calls CQ.
void OperatingLogic::SendCq() {
  const std::string& call = settings_.FnMsgA[0];
  if (!call.empty()) SendWithMacros(call);
}

// `count` further calls after this one; -1 repeats until ended. A pending timer is left alone.
void OperatingLogic::StartCqRepeat(int count) {
  keyer_.StopSending();
  DropQueuedText();
  WakeForCqRepeat().Start(count);
  SendCq();
}

// The key or interface input that ends a repeat is used up by it.
void OperatingLogic::EndCqRepeat() {
  StopTransmission();
  WakeForCqRepeat().End();
}

void OperatingLogic::KillCqTimer() {
  view_.KillCqTimer();
  WakeForCqRepeat().PauseEnded();
}

void OperatingLogic::StartCqTimer() {
  view_.StartCqTimer(CqTimerMilliseconds(settings_.CqLoopInterval));
  WakeForCqRepeat().PauseStarted();
}

// Runs once the call's last character has been handed over, so the pause counts from about
// the end of the call.
void OperatingLogic::RepeatStep() {
  const CqRepeat& repeat = WakeForCqRepeat();
  if (repeat.Active() && !repeat.TimerRunning()) StartCqTimer();
}

void OperatingLogic::OnTextDone() {
  textPlaying_ = false;
  ReleaseHeldText();
  if (WakeForCqRepeat().Active()) StartCqTimer();
  if (!Sequential()) return;
  const std::string input = view_.InputLineText();
  if (input.empty()) return;
  view_.InsertAtLogEnd(input);
  view_.SetInputLineText({});
}

void OperatingLogic::OnCqTimer() {
  KillCqTimer();
  SendCq();
}

void OperatingLogic::OnKeyerInput(std::intptr_t value) {
  if (value == kCqStartInput) {
    if (!WakeForCqRepeat().Active()) StartCqRepeat(kCqRepeatCalls);
    return;
  }
  WakeForCqRepeat().End();
  KillCqTimer();
  DropQueuedText();
}

}  // namespace vantrel::operating
