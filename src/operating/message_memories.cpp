#include "operating/macro_expander.h"
#include "operating/operating_logic.h"
#include "operating/speed.h"

#include <utility>

namespace vantrel::operating {

void OperatingLogic::ShowBank(Bank bank) {
  const settings::MessageBank& messages = bank == Bank::A ? settings_.FnMsgA : settings_.FnMsgB;
  for (int key = 1; key <= settings::kMessageCount; ++key) {
    view_.SetButtonCaption(key, messages[key - 1]);
  }
  // Only bank A rewrites the captions of F11 and F12.
  if (bank == Bank::A) {
    view_.SetButtonCaption(kSendToLogKey, kSendToLogCaption);
    view_.SetButtonCaption(kFetchFromLogKey, kFetchFromLogCaption);
  }
  for (int key = 1; key <= settings::kMessageCount; ++key) {
    view_.SetButtonToolTip(key, messages[key - 1]);
  }
}

// The caption is what is sent, so a key held with Ctrl sends bank B.
void OperatingLogic::OnFunctionButton(int key) {
  std::string caption = view_.ButtonCaption(key);
  if (!caption.empty()) SendFunctionKey(std::move(caption));
}

void OperatingLogic::SendFunctionKey(std::string text) {
  if (WakeForCqRepeat().Active()) return EndCqRepeat();
  if (!Sequential()) {
    const std::string typed = view_.InputLineText();
    if (!typed.empty()) {
      text = typed + " " + text + " ";
      view_.SetInputLineText({});
    }
  }
  KillCqTimer();
  SendWithMacros(std::move(text));
}

void OperatingLogic::SendWithMacros(std::string text) {
  LimitLogLength();
  ReconnectIfClosed();
  if (!view_.ReadControls()) return;
  WindowFields& fields = Fields();
  if (IsKeyingSpeed(fields.WPM)) {
    keyer_.SetSpeed(fields.WPM);
  } else {
    fields.WPM = keyer_.GetSpeed();
  }
  const MacroExpansion expansion =
      ExpandMacros(text, {settings_.MyCALL, fields.HisCall, fields.Report, settings_.Number});
  if (expansion.numberUsed && settings_.Auto) {
    settings_.Number = AdvanceNumber(settings_.Number);
    view_.RefreshControls();
  }
  if (expansion.text.empty()) return;
  HandOver(expansion.text);
  const std::string shown = WithoutProsignMarks(expansion.text);
  AppendTimeStamp();
  if (Sequential()) {
    view_.SetInputLineText(view_.InputLineText() + shown);
  } else {
    LogLine(shown);
  }
}

// The engine of firmware 20 and later takes one character at a time, paced by its status
// reports; older firmware takes the whole text and times it on the PC.
void OperatingLogic::HandOver(const std::string& text) {
  if (KeyerTimesCharacters()) {
    WakeForSendState().PendingText += text;
  } else {
    textPlaying_ = true;
    keyer_.SendText(text);
  }
}

}  // namespace vantrel::operating
