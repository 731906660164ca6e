#include "ui/cp932_text.h"

#include "platform/text_encoding.h"

namespace vantrel::ui {

QString FromCp932(const std::string& cp932) {
  return QString::fromStdString(platform::Cp932ToUtf8(cp932));
}

std::string ToCp932(const QString& shown) {
  const QByteArray utf8 = shown.toUtf8();
  return platform::Utf8ToCp932(std::string_view(utf8.constData(), utf8.size()));
}

}  // namespace vantrel::ui
