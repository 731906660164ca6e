#include "operating/macro_expander.h"
#include "operating/operating_logic.h"

namespace vantrel::operating {

void OperatingLogic::OnSendButton() {
  LimitLogLength();
  const std::string text = view_.InputLineText();
  if (text.empty()) return;
  KillCqTimer();
  view_.ReadControls();
  if (!Sequential()) {
    SendWithMacros(text + " ");
    view_.SetInputLineText({});
    return;
  }
  // The characters went out as they were typed; only the log is written here.
  AppendTimeStamp();
  LogLine(WithoutProsignMarks(text));
  view_.SetInputLineText({});
}

void OperatingLogic::StopTransmission() {
  KillCqTimer();
  view_.ReadControls();
  Fields().PttCheck = 0;
  view_.RefreshControls();
  keyer_.SetPttHold(false);
  keyer_.StopSending();
  DropQueuedText();
  Fields().HeldNetworkText.clear();
  textPlaying_ = false;
  view_.SetFocus(Control::InputLine);
  if (Sequential()) view_.SetInputLineText({});
  view_.ShowLogEnd();
  Fields().ClearBeforeNext = false;
  Fields().PaceCountdown = 0;
}

void OperatingLogic::OnClearButton() {
  DropQueuedText();
  Fields().LogText.clear();
  view_.RefreshControls();
}

}  // namespace vantrel::operating
