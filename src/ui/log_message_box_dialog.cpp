#include "ui/log_message_box_dialog.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace vantrel::ui {
namespace {

QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void ShowLogMessageBox(QWidget* parent, const loglink::LogMessageBox& message) {
  const QMessageBox::Icon icon = message.icon == loglink::MessageIcon::kExclamation
                                     ? QMessageBox::Warning
                                     : QMessageBox::Critical;
  // The window gets its focus back where the operator left it, not wherever the window
  // manager puts it when the box goes.
  const QPointer<QWidget> focus = QApplication::focusWidget();
  QMessageBox box(icon, FromView(message.caption), FromView(message.text), QMessageBox::Ok, parent);
  box.exec();
  if (parent) parent->activateWindow();
  if (focus) focus->setFocus(Qt::OtherFocusReason);
}

}  // namespace vantrel::ui
