#include "platform/qt/focus_key_injector.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace vantrel::platform {

void FocusKeyInjector::Key(int virtualKey, bool down) {
  QMetaObject::invokeMethod(
      &context_, [this, virtualKey, down] { Deliver(virtualKey, down); }, Qt::QueuedConnection);
}

void FocusKeyInjector::Deliver(int virtualKey, bool down) {
  if (virtualKey == kVkKana && down && onKana_) onKana_();
  if (virtualKey != kVkBack && virtualKey != kVkEscape) return;
  QWidget* target = QApplication::focusWidget();
  if (!target) return;
  bool back = virtualKey == kVkBack;
  QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease,
                  back ? Qt::Key_Backspace : Qt::Key_Escape, Qt::NoModifier,
                  back ? QStringLiteral("\b") : QStringLiteral("\x1b"));
  QApplication::sendEvent(target, &event);
}

}  // namespace vantrel::platform
