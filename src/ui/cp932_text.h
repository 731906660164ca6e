#pragma once

#include <QString>

#include <string>

namespace vantrel::ui {

// The window's texts are CP932 bytes; its controls show Unicode.
QString FromCp932(const std::string& cp932);
std::string ToCp932(const QString& shown);

}  // namespace vantrel::ui
