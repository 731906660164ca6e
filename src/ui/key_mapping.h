#pragma once

#include <QKeyEvent>

#include "operating/key_handling.h"

namespace vantrel::ui {

operating::Key OperatingKey(int qtKey);
operating::Modifiers OperatingModifiers(Qt::KeyboardModifiers modifiers);

// Whether a key press carries a typed character. Enter presses the default button, Tab moves
// the focus, Escape is a command and Delete edits: none of them is a character.
bool CarriesCharacter(const QKeyEvent& event);
// Return or the keypad's Enter.
bool IsEnter(const QKeyEvent& event);

}  // namespace vantrel::ui
