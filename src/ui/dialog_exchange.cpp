#include "ui/dialog_exchange.h"

#include <QLineEdit>
#include <QMessageBox>

#include "platform/text_encoding.h"
#include "settings/number_text.h"
#include "ui/setup_dlg_texts.h"

namespace vantrel::ui {
namespace {

QString Bound(double value) {
  return QString::fromStdString(settings::FormatShortDecimal(value));
}

}  // namespace

std::string ToCp932(const QString& shown) {
  const QByteArray utf8 = shown.toUtf8();
  return platform::Utf8ToCp932(std::string_view(utf8.constData(), utf8.size()));
}

QString FromCp932(const std::string& cp932) {
  return QString::fromStdString(platform::Cp932ToUtf8(cp932));
}

DialogExchange::DialogExchange(QWidget* dialog) : dialog_(dialog) {}

bool DialogExchange::ReadText(QLineEdit* edit, std::string& field, std::size_t byteLimit) const {
  std::string bytes = ToCp932(edit->text());
  if (bytes.size() > byteLimit) return Fail(edit, kTooLongText.arg(byteLimit));
  field = bytes;
  return true;
}

bool DialogExchange::ReadDecimal(QLineEdit* edit, float& field,
                                 settings::Range<double> range) const {
  std::optional<double> value = settings::ParseDecimal(ToCp932(edit->text()));
  if (!value) return Fail(edit, kDecimalExpectedText);
  if (!range.Contains(*value)) {
    return Fail(edit, kDecimalRangeText.arg(Bound(range.min), Bound(range.max)));
  }
  field = static_cast<float>(*value);
  return true;
}

bool DialogExchange::ReadWhole(QLineEdit* edit, int& field, settings::Range<long> range) const {
  std::optional<unsigned long> value = settings::ParseUnsigned(ToCp932(edit->text()));
  if (!value) return Fail(edit, kWholeExpectedText);
  if (*value > static_cast<unsigned long>(range.max) || static_cast<long>(*value) < range.min) {
    return Fail(edit, kWholeRangeText.arg(range.min).arg(range.max));
  }
  field = static_cast<int>(*value);
  return true;
}

void DialogExchange::ShowText(QLineEdit* edit, const std::string& field) {
  edit->setText(FromCp932(field));
}

void DialogExchange::ShowDecimal(QLineEdit* edit, float field) {
  edit->setText(QString::fromStdString(settings::FormatShortDecimal(field)));
}

void DialogExchange::ShowWhole(QLineEdit* edit, int field) {
  edit->setText(QString::number(field));
}

bool DialogExchange::Fail(QLineEdit* edit, const QString& message) const {
  QMessageBox::warning(dialog_, kMessageTitle, message);
  dialog_->activateWindow();
  edit->setFocus(Qt::OtherFocusReason);
  edit->selectAll();
  return false;
}

}  // namespace vantrel::ui
