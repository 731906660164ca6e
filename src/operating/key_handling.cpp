#include "operating/key_handling.h"

#include <utility>

#include "operating/operating_logic.h"

namespace vantrel::operating {
namespace {

constexpr KeyDecision Consume(KeyCommand command) {
  return {command, true, 0};
}
constexpr KeyDecision PassOn(KeyCommand command = KeyCommand::None) {
  return {command, false, 0};
}

bool InInputLine(Control focus) {
  return focus == Control::InputLine;
}
bool InEditBox(Control focus) {
  return focus == Control::InputLine || focus == Control::CallsignBox;
}

KeyDecision DecideFunctionKey(Key key, Modifiers modifiers) {
  if (modifiers.alt || modifiers.shift) return PassOn();
  return {KeyCommand::FunctionKey, true, static_cast<int>(key) - static_cast<int>(Key::F1) + 1};
}

KeyDecision DecideCtrlKey(Key key, Control focus) {
  switch (key) {
    case Key::K:
      return InEditBox(focus) ? Consume(KeyCommand::NewContact) : PassOn();
    case Key::W:
      return InEditBox(focus) ? Consume(KeyCommand::EmptyFocusedBox) : PassOn();
    case Key::Q:
      return InInputLine(focus) ? Consume(KeyCommand::SpeedUp) : PassOn();
    case Key::S:
      return InInputLine(focus) ? Consume(KeyCommand::SpeedDown) : PassOn();
    default:
      return PassOn();
  }
}

}  // namespace

KeyDecision DecideKeyDown(Key key, Modifiers modifiers, Control focus) {
  if (key >= Key::F1 && key <= Key::F10) return DecideFunctionKey(key, modifiers);
  switch (key) {
    case Key::Control:
      return PassOn(KeyCommand::ShowBankB);
    case Key::Escape:
      return Consume(InInputLine(focus) ? KeyCommand::StopAndEndCq : KeyCommand::FocusInputLine);
    case Key::A:
      return modifiers.alt ? Consume(KeyCommand::FocusCallsign) : PassOn();
    case Key::Z:
      if (!modifiers.ctrl || !InInputLine(focus)) return PassOn();
      return Consume(modifiers.alt ? KeyCommand::StartEndlessCq : KeyCommand::StartCq);
    case Key::F11:
      return PassOn(KeyCommand::SendToLog);
    case Key::F12:
      return PassOn(KeyCommand::FetchFromLog);
    default:
      return modifiers.ctrl ? DecideCtrlKey(key, focus) : PassOn();
  }
}

std::string ApplyShiftCase(std::string character, bool shift) {
  if (character.size() != 1) return character;
  char& c = character.front();
  if (!shift && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (shift && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return character;
}

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

TypedCharacter OperatingLogic::OnCharacter(std::string character, Modifiers modifiers) {
  ReconnectIfClosed();
  if (WakeForCqRepeat().Active()) {
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
