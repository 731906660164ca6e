#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>
#include <vector>

#include "ui/setup_dlg.h"

namespace vantrel::ui {

// Replaces the edit's text by clicking into it, selecting all and typing over it (Delete when
// the text is empty). Characters off the ASCII keyboard come as the text an input method would
// deliver.
inline void TypeOver(QLineEdit* edit, const QString& text) {
  QTest::mouseClick(edit, Qt::LeftButton);
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  if (text.isEmpty()) QTest::keyClick(edit, Qt::Key_Delete);
  for (QChar c : text) {
    const Qt::Key key = c.unicode() < 0x80 ? QTest::asciiToKey(c.toLatin1()) : Qt::Key_unknown;
    QTest::sendKeyEvent(QTest::Click, edit, key, QString(c), Qt::NoModifier);
  }
}

// Drives the setup dialog the way an operator does: mouse clicks and typed keys.
class DialogDriver {
 public:
  explicit DialogDriver(CSetupDlg& dialog) : dialog_(dialog) {}

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

  void Type(int id, const QString& text) { TypeOver(Edit(id), text); }

 private:
  CSetupDlg& dialog_;
};

// Runs `action`; the text of each message box it opens is noted and the box closed with Enter.
inline std::vector<QString> ModalTextsDuring(const std::function<void()>& action) {
  std::vector<QString> texts;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    texts.push_back(box->text());
    QTest::keyClick(box, Qt::Key_Return);
  });
  poll.start(5);
  action();
  return texts;
}

}  // namespace vantrel::ui
