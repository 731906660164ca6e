#pragma once

#include <QValidator>

#include <cstddef>

namespace vantrel::ui {

// Refuses edits that would make the text longer than a limit counted in CP932 bytes, or that
// bring in a character CP932 cannot hold, so the text always fits the settings file.
class Cp932Validator : public QValidator {
 public:
  Cp932Validator(std::size_t byteLimit, QObject* parent);
  State validate(QString& input, int& pos) const override;

 private:
  std::size_t byteLimit_;
};

}  // namespace vantrel::ui
