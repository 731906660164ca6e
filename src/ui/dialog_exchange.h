#pragma once

#include <QString>

#include <cstddef>
#include <string>

#include "settings/settings.h"

class QLineEdit;
class QWidget;

namespace vantrel::ui {

// The program's texts are CP932 bytes; its controls show Unicode.
QString FromCp932(const std::string& cp932);
std::string ToCp932(const QString& shown);

// Moves values between a dialog's edits and its fields (the setup dialog's settings, the main
// window's boxes). Each read converts and validates; a failed read shows why, puts the focus on
// the edit with its text selected, and returns false, leaving the field as it was.
class DialogExchange {
 public:
  explicit DialogExchange(QWidget* dialog);

  bool ReadText(QLineEdit* edit, std::string& field, std::size_t byteLimit) const;
  bool ReadDecimal(QLineEdit* edit, float& field, settings::Range<double> range) const;
  bool ReadWhole(QLineEdit* edit, int& field, settings::Range<long> range) const;

  static void ShowText(QLineEdit* edit, const std::string& field);
  static void ShowDecimal(QLineEdit* edit, float field);
  static void ShowWhole(QLineEdit* edit, int field);

 private:
  bool Fail(QLineEdit* edit, const QString& message) const;

  QWidget* dialog_;
};

}  // namespace vantrel::ui
