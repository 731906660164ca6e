#pragma once

#include <QString>

#include <string>

namespace vantrel::ui {

// The log keeps CP932 text with "\r\n" line ends; its control shows Unicode with "\n".
QString LogForDisplay(const std::string& logText);
std::string LogFromDisplay(const QString& shown);

}  // namespace vantrel::ui
