#pragma once

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include "ui/setup_dlg.h"

namespace vantrel::ui {

// Drives the setup dialog the way an operator does: mouse clicks and typed keys.
class DialogDriver {
 public:
  explicit DialogDriver(CSetupDlg& dialog) : dialog_(dialog) {}

  // Whether the dialog became the active window.
  bool Open() {
    dialog_.show();
    dialog_.activateWindow();
    return QTest::qWaitForWindowActive(&dialog_);
  }

  QLineEdit* Edit(int id) const { return static_cast<QLineEdit*>(dialog_.Control(id)); }

  void Click(int id) {
    QWidget* control = dialog_.Control(id);
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(8, control->height() / 2));
  }

  // Replaces the edit's text by clicking into it, selecting all and typing. Characters off the
  // ASCII keyboard come as the text an input method would deliver.
  void Type(int id, const QString& text) {
    QLineEdit* edit = Edit(id);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    for (QChar c : text) {
      const Qt::Key key = c.unicode() < 0x80 ? QTest::asciiToKey(c.toLatin1()) : Qt::Key_unknown;
      QTest::sendKeyEvent(QTest::Click, edit, key, QString(c), Qt::NoModifier);
    }
  }

 private:
  CSetupDlg& dialog_;
};

}  // namespace vantrel::ui
