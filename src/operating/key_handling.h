#pragma once

#include <string>

#include "operating/operating_view.h"

namespace vantrel::operating {

// The keys the window intercepts; every other key is Other. F1..F12 are consecutive.
enum class Key {
  Control,
  Escape,
  A,
  K,
  W,
  Q,
  S,
  Z,
  F1,
  F2,
  F3,
  F4,
  F5,
  F6,
  F7,
  F8,
  F9,
  F10,
  F11,
  F12,
  Other
};

// Pressed or not, as the keyboard state that belongs to the event says.
struct Modifiers {
  bool alt = false;
  bool ctrl = false;
  bool shift = false;
};

enum class KeyCommand {
  None,
  ShowBankB,
  StopAndEndCq,
  FocusInputLine,
  FocusCallsign,
  NewContact,
  EmptyFocusedBox,
  SpeedUp,
  SpeedDown,
  StartCq,
  StartEndlessCq,
  FunctionKey,
  SendToLog,
  FetchFromLog,
};

struct KeyDecision {
  KeyCommand command = KeyCommand::None;
  // Consumed keys never reach the focused control.
  bool consumed = false;
  // 1..10 for KeyCommand::FunctionKey.
  int functionKey = 0;

  bool operator==(const KeyDecision&) const = default;
};

// What a key-down does, by the key, the modifiers of the event and the focused control.
KeyDecision DecideKeyDown(Key key, Modifiers modifiers, Control focus);

// A typed letter is upper case unless Shift is held, whatever Caps Lock says; other
// characters are left as they are.
std::string ApplyShiftCase(std::string character, bool shift);

}  // namespace vantrel::operating
