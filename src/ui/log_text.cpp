#include "ui/log_text.h"

#include "platform/text_encoding.h"

namespace vantrel::ui {

QString LogForDisplay(const std::string& logText) {
  QString shown = QString::fromStdString(platform::Cp932ToUtf8(logText));
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

std::string LogFromDisplay(const QString& shown) {
  QString text = shown;
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  QByteArray utf8 = text.toUtf8();
  return platform::Utf8ToCp932(std::string_view(utf8.constData(), utf8.size()));
}

}  // namespace vantrel::ui
