#include "ui/key_mapping.h"

namespace vantrel::ui {

using operating::Key;

Key OperatingKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Control:
      return Key::Control;
    case Qt::Key_Escape:
      return Key::Escape;
    case Qt::Key_A:
      return Key::A;
    case Qt::Key_K:
      return Key::K;
    case Qt::Key_W:
      return Key::W;
    case Qt::Key_Q:
      return Key::Q;
    case Qt::Key_S:
      return Key::S;
    case Qt::Key_Z:
      return Key::Z;
    default:
      break;
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) {
    return static_cast<Key>(static_cast<int>(Key::F1) + (qtKey - Qt::Key_F1));
  }
  return Key::Other;
}

operating::Modifiers OperatingModifiers(Qt::KeyboardModifiers modifiers) {
  return {modifiers.testFlag(Qt::AltModifier), modifiers.testFlag(Qt::ControlModifier),
          modifiers.testFlag(Qt::ShiftModifier)};
}

bool IsEnter(const QKeyEvent& event) {
  return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

bool CarriesCharacter(const QKeyEvent& event) {
  const QString text = event.text();
  if (text.isEmpty()) return false;
  const char16_t first = text.front().unicode();
  return first != u'\r' && first != u'\n' && first != u'\t' && first != 0x1B && first != 0x7F;
}

}  // namespace vantrel::ui
