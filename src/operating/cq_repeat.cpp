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
  WakeForSendState().CqRepeatCount = count;
  SendCq();
}

// The key or interface input that ends a repeat is used up by it.
void OperatingLogic::EndCqRepeat() {
  StopTransmission();
  WakeForSendState().CqRepeatCount = 0;
}

void OperatingLogic::KillCqTimer() {
  view_.KillCqTimer();
  WakeForSendState().CqTimer = false;
}

void OperatingLogic::StartCqTimer() {
  SendState& send = WakeForSendState();
  if (send.CqRepeatCount > 0) --send.CqRepeatCount;
  view_.StartCqTimer(CqTimerMilliseconds(settings_.CqLoopInterval));
  send.CqTimer = true;
}

// Runs once the call's last character has been handed over, so the pause counts from about
// the end of the call.
void OperatingLogic::RepeatStep() {
  if (WakeForSendState().CqRepeatCount != 0 && !WakeForSendState().CqTimer) StartCqTimer();
}

void OperatingLogic::OnTextDone() {
  textPlaying_ = false;
  ReleaseHeldText();
  if (WakeForSendState().CqRepeatCount != 0) StartCqTimer();
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
    if (WakeForSendState().CqRepeatCount == 0) StartCqRepeat(kCqRepeatCalls);
    return;
  }
  WakeForSendState().CqRepeatCount = 0;
  KillCqTimer();
  DropQueuedText();
}

}  // namespace vantrel::operating
