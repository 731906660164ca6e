#pragma once

#include <functional>

#include "loglink/log_message_box.h"

class QWidget;

namespace vantrel::ui {

// Shows a message box of the logging-program link, modal to `parent`.
using ShowLogMessageFunction = std::function<void(QWidget* parent, const loglink::LogMessageBox&)>;

void ShowLogMessageBox(QWidget* parent, const loglink::LogMessageBox& message);

}  // namespace vantrel::ui
