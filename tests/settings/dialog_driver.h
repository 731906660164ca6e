#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

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

  // Replaces the edit's text by clicking into it, selecting all and typing.
  void Type(int id, const QString& text) {
    QLineEdit* edit = Edit(id);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    TypeText(edit, text);
  }

  // Characters off the ASCII keyboard come as the text an input method would deliver.
  static void TypeText(QWidget* widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
      qsizetype length = text[i].isHighSurrogate() ? 2 : 1;
      QString character = text.mid(i, length);
      i += length - 1;
      if (character[0].unicode() < 0x80) {
        QTest::keyClick(widget, character[0].toLatin1());
      } else {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, character, Qt::NoModifier);
      }
    }
  }

  // Runs `action`; a message box it opens is read and closed with the Enter key. Returns the
  // box's text, empty when none opened.
  static QString MessageDuring(const std::function<void()>& action) {
    QString text;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      text = box->text();
      QTest::keyClick(box, Qt::Key_Return);
    });
    poll.start(5);
    action();
    return text;
  }

 private:
  CSetupDlg& dialog_;
};

}  // namespace vantrel::ui
