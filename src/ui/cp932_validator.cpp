#include "ui/cp932_validator.h"

#include "platform/text_encoding.h"

namespace vantrel::ui {

Cp932Validator::Cp932Validator(std::size_t byteLimit, QObject* parent)
    : QValidator(parent), byteLimit_(byteLimit) {}

QValidator::State Cp932Validator::validate(QString& input, int&) const {
  QByteArray utf8 = input.toUtf8();
  auto bytes = platform::TryUtf8ToCp932(std::string_view(utf8.constData(), utf8.size()));
  return bytes && bytes->size() <= byteLimit_ ? Acceptable : Invalid;
}

}  // namespace vantrel::ui
