#include <utility>

#include "operating/macro_expander.h"
#include "operating/operating_logic.h"

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
  context_.Wake();
  if (cqRepeat_.Active()) return EndCqRepeat();
  if (!context_.Sequential()) {
    const std::string typed = view_.InputLineText();
    if (!typed.empty()) {
      text = typed + " " + text + " ";
      view_.SetInputLineText({});
    }
  }
  cqRepeat_.KillTimer();
  SendWithMacros(std::move(text));
}

void OperatingLogic::SendWithMacros(std::string text) {
  LimitLogLength();
  ReconnectIfClosed();
  if (!view_.ReadControls()) return;
  speed_.GiveEngine();
  const WindowFields& fields = view_.Fields();
  const MacroExpansion expansion =
      ExpandMacros(text, {settings_.MyCALL, fields.HisCall, fields.Report, settings_.Number});
  if (expansion.numberUsed && settings_.Auto) {
    settings_.Number = AdvanceNumber(settings_.Number);
    view_.RefreshControls();
  }
  if (expansion.text.empty()) return;
  pacer_.HandOver(expansion.text);
  ShowQueued(WithoutProsignMarks(expansion.text));
}

}  // namespace vantrel::operating
