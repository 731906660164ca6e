#include "ui/operating_key_filter.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QWidget>
#include <memory>

#include "ui/cp932_text.h"

namespace vantrel::ui {
namespace {

operating::Key OperatingKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Control:
      return operating::Key::Control;
    case Qt::Key_Escape:
      return operating::Key::Escape;
    case Qt::Key_A:
      return operating::Key::A;
    case Qt::Key_K:
      return operating::Key::K;
    case Qt::Key_W:
      return operating::Key::W;
    case Qt::Key_Q:
      return operating::Key::Q;
    case Qt::Key_S:
      return operating::Key::S;
    case Qt::Key_Z:
      return operating::Key::Z;
    default:
      break;
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) {
    return static_cast<operating::Key>(static_cast<int>(operating::Key::F1) + (qtKey - Qt::Key_F1));
  }
  return operating::Key::Other;
}

operating::Modifiers OperatingModifiers(Qt::KeyboardModifiers modifiers) {
  return {modifiers.testFlag(Qt::AltModifier), modifiers.testFlag(Qt::ControlModifier),
          modifiers.testFlag(Qt::ShiftModifier)};
}

// Return or the keypad's Enter.
bool IsEnter(const QKeyEvent& event) {
  return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

// Whether a key press carries a typed character. Enter presses the default button, Tab moves
// the focus, Escape is a command and Delete edits: none of them is a character.
bool CarriesCharacter(const QKeyEvent& event) {
  const QString text = event.text();
  if (text.isEmpty()) return false;
  const char16_t first = text.front().unicode();
  return first != u'\r' && first != u'\n' && first != u'\t' && first != 0x1B && first != 0x7F;
}

}  // namespace

bool OperatingKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (redelivering_ || !IsFirstDeliveryInWindow(watched)) return false;
  auto* target = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::KeyPress:
      return OnKeyPress(target, static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
      OnKeyRelease(static_cast<QKeyEvent*>(event));
      return false;
    case QEvent::InputMethod:
      return OnInputMethod(target, static_cast<QInputMethodEvent*>(event));
    default:
      return false;
  }
}

// A key the focused control ignores is offered to its parents as well; the logic sees it once.
bool OperatingKeyFilter::IsFirstDeliveryInWindow(QObject* watched) const {
  if (!watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (widget->window() != window_) return false;
  QWidget* focus = QApplication::focusWidget();
  return !(focus && focus != widget && widget->isAncestorOf(focus));
}

bool OperatingKeyFilter::OnKeyPress(QWidget* target, QKeyEvent* event) {
  const operating::Modifiers modifiers = OperatingModifiers(event->modifiers());
  if (logic_.OnKeyDown(OperatingKey(event->key()), modifiers)) return true;
  std::unique_ptr<QKeyEvent> passedOn(event->clone());
  if (IsEnter(*event) && qobject_cast<QPlainTextEdit*>(target)) {
    // The log takes Enter as a character, so it is a typed character there.
    if (logic_.OnCharacter("\r", modifiers).consumed) return true;
  } else if (CarriesCharacter(*event)) {
    const QString passed = TypeCharacters(event->text(), modifiers);
    if (passed.isEmpty()) return true;
    if (passed != event->text()) {
      passedOn = std::make_unique<QKeyEvent>(event->type(), event->key(), event->modifiers(),
                                             passed, event->isAutoRepeat(), event->count());
    }
  }
  // The logic may have opened a modal box, after which the focus widget no longer tells a
  // first delivery from the parents being offered an ignored key. So the event goes on from
  // here, to the control and its parents, with this filter out of the way.
  Redeliver(target, passedOn.get());
  event->setAccepted(true);
  return true;
}

// X11 repeats a held key as release and press pairs; only the real release counts.
void OperatingKeyFilter::OnKeyRelease(QKeyEvent* event) {
  if (!event->isAutoRepeat()) logic_.OnKeyUp(OperatingKey(event->key()));
}

bool OperatingKeyFilter::OnInputMethod(QWidget* target, QInputMethodEvent* event) {
  const QString commit = event->commitString();
  if (commit.isEmpty()) return false;
  const QString passed =
      TypeCharacters(commit, OperatingModifiers(QGuiApplication::keyboardModifiers()));
  if (passed == commit) return false;
  QInputMethodEvent replacement(event->preeditString(), event->attributes());
  replacement.setCommitString(passed, event->replacementStart(), event->replacementLength());
  Redeliver(target, &replacement);
  return true;
}

QString OperatingKeyFilter::TypeCharacters(const QString& text, operating::Modifiers modifiers) {
  QString passed;
  for (char32_t codePoint : text.toUcs4()) {
    const QString character = QString::fromUcs4(&codePoint, 1);
    operating::TypedCharacter typed = logic_.OnCharacter(ToCp932(character), modifiers);
    if (!typed.consumed) passed += FromCp932(typed.character);
  }
  return passed;
}

void OperatingKeyFilter::Redeliver(QWidget* target, QEvent* replacement) {
  redelivering_ = true;
  QCoreApplication::sendEvent(target, replacement);
  redelivering_ = false;
}

}  // namespace vantrel::ui
