#include "operating/cq_interval.h"
#include "operating/operating_logic.h"

namespace vantrel::operating {

// Bank A's first message from the settings, not F1's caption: Ctrl held still calls CQ.
void OperatingLogic::SendCq() {
  const std::string& call = settings_.FnMsgA[0];
  if (!call.empty()) SendWithMacros(call);
}

// `count` further calls after this one; -1 repeats until ended. A pending timer is left alone.
void OperatingLogic::StartCqRepeat(int count) {
  keyer_.StopSending();
  DropQueuedText();
  Fields().CqRepeatCount = count;
  SendCq();
}

// The key or interface input that ends a repeat is used up by it.
void OperatingLogic::EndCqRepeat() {
  StopTransmission();
  Fields().CqRepeatCount = 0;
}

void OperatingLogic::KillCqTimer() {
  view_.KillCqTimer();
  Fields().CqTimer = false;
}

void OperatingLogic::StartCqTimer() {
  WindowFields& fields = Fields();
  if (fields.CqRepeatCount > 0) --fields.CqRepeatCount;
  view_.StartCqTimer(CqTimerMilliseconds(settings_.CqLoopInterval));
  fields.CqTimer = true;
}

// Runs once the call's last character has been handed over, so the pause counts from about
// the end of the call.
void OperatingLogic::RepeatStep() {
  if (Fields().CqRepeatCount != 0 && !Fields().CqTimer) StartCqTimer();
}

void OperatingLogic::OnTextDone() {
  textPlaying_ = false;
  ReleaseHeldText();
  if (Fields().CqRepeatCount != 0) StartCqTimer();
  if (!Sequential()) return;
  const std::string input = view_.InputLineText();
  if (input.empty()) return;
  Fields().LogText += input;
  view_.SetInputLineText({});
  view_.RefreshControls();
}

void OperatingLogic::OnCqTimer() {
  KillCqTimer();
  SendCq();
}

}  // namespace vantrel::operating
