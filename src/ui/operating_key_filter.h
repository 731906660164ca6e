#pragma once

#include <QObject>
#include <QString>

#include "operating/operating_logic.h"

class QInputMethodEvent;
class QKeyEvent;
class QWidget;

namespace vantrel::ui {

// Shows the keyboard input of one window to the operating logic before the window's controls
// see it: key presses and releases, typed characters and input-method commits. Installed on
// the application, so that it comes before every control's own handling.
class OperatingKeyFilter final : public QObject {
 public:
  OperatingKeyFilter(QWidget* window, operating::OperatingLogic& logic)
      : window_(window), logic_(logic) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool IsFirstDeliveryInWindow(QObject* watched) const;
  bool OnKeyPress(QWidget* target, QKeyEvent* event);
  void OnKeyRelease(QKeyEvent* event);
  bool OnInputMethod(QWidget* target, QInputMethodEvent* event);
  // The characters of `text` that the logic passes on, one character at a time.
  QString TypeCharacters(const QString& text, operating::Modifiers modifiers);
  void Redeliver(QWidget* target, QEvent* replacement);

  QWidget* window_;
  operating::OperatingLogic& logic_;
  bool redelivering_ = false;
};

}  // namespace vantrel::ui
