#include "operating/key_handling.h"

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

}  // namespace vantrel::operating
