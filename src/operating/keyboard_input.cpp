#include "operating/letter_case.h"
#include "operating/operating_logic.h"
#include "operating/speed_report.h"

#include <utility>

namespace vantrel::operating {

bool OperatingLogic::OnKeyDown(Key key, Modifiers modifiers) {
  const KeyDecision decision = DecideKeyDown(key, modifiers, view_.FocusedControl());
  RunKeyCommand(decision);
  return decision.consumed;
}

void OperatingLogic::OnKeyUp(Key key) {
  if (key == Key::Control) ShowBank(Bank::A);
}

void OperatingLogic::RunKeyCommand(const KeyDecision& decision) {
  switch (decision.command) {
    case KeyCommand::None:
      return;
    case KeyCommand::ShowBankB:
      return ShowBank(Bank::B);
    case KeyCommand::StopAndEndCq:
      return EndCqRepeat();
    case KeyCommand::FocusInputLine:
      return view_.SetFocus(Control::InputLine);
    case KeyCommand::FocusCallsign:
      return view_.SetFocus(Control::CallsignBox);
    case KeyCommand::NewContact:
      return StartNewContact();
    case KeyCommand::EmptyFocusedBox:
      return view_.EmptyControl(view_.FocusedControl());
    case KeyCommand::SpeedUp:
      return StepSpeed(+1);
    case KeyCommand::SpeedDown:
      return StepSpeed(-1);
    case KeyCommand::StartCq:
      return StartCqRepeat(kCqRepeatCalls);
    case KeyCommand::StartEndlessCq:
      return StartCqRepeat(kEndlessCqRepeat);
    case KeyCommand::FunctionKey:
      return OnFunctionButton(decision.functionKey);
    case KeyCommand::SendToLog:
      return view_.SendToLog();
    case KeyCommand::FetchFromLog:
      return view_.FetchFromLog();
  }
}

void OperatingLogic::StartNewContact() {
  view_.EmptyControl(Control::InputLine);
  Fields().HisCall.clear();
  Fields().Report = 599;
  view_.SetFocus(Control::InputLine);
  view_.RefreshControls();
}

void OperatingLogic::StepSpeed(int step) {
  view_.ReadControls();
  unsigned& wpm = Fields().WPM;
  if (step > 0 && wpm < kMaxWpm) ++wpm;
  if (step < 0 && wpm > kMinWpm) --wpm;
  view_.SetSpinPosition(wpm);
}

TypedCharacter OperatingLogic::OnCharacter(std::string character, Modifiers modifiers) {
  ReconnectIfClosed();
  if (Fields().CqRepeatCount != 0) {
    EndCqRepeat();
    return {true, {}};
  }
  character = ApplyShiftCase(std::move(character), modifiers.shift);
  view_.ReadControls();
  const bool sendsAsTyped = Sequential() && view_.FocusedControl() == Control::InputLine;
  if (sendsAsTyped && (modifiers.alt || modifiers.ctrl)) {
    // The input line shows what is being sent, and a letter typed with Alt or Ctrl never is;
    // control bytes (Ctrl+V and the other editing keys) go on to the line edit.
    if (!character.empty() && static_cast<unsigned char>(character.front()) >= 0x20)
      return {true, {}};
    return {false, character};
  }
  if (sendsAsTyped) HandOver(character);
  return {false, character};
}

}  // namespace vantrel::operating
