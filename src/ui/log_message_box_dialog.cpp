#include "ui/log_message_box_dialog.h"

#include <QMessageBox>

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
  QMessageBox box(icon, FromView(message.caption), FromView(message.text), QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace vantrel::ui
