#include "ui/operating_key_filter.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWidget>

#include "ui/cp932_text.h"
#include "ui/key_mapping.h"

namespace vantrel::ui {

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
  if (!CarriesCharacter(*event)) return false;
  const QString passed = TypeCharacters(event->text(), modifiers);
  if (passed == event->text()) return false;
  if (passed.isEmpty()) return true;
  QKeyEvent replacement(event->type(), event->key(), event->modifiers(), passed,
                        event->isAutoRepeat(), event->count());
  Redeliver(target, &replacement);
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
