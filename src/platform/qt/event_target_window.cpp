#include "platform/qt/event_target_window.h"

#include <QCoreApplication>

#include "platform/qt/keyer_message_event.h"

namespace vantrel::platform {

void EventTargetWindow::Post(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
  QCoreApplication::postEvent(receiver_, new KeyerMessageEvent(message, wParam, lParam));
}

}  // namespace vantrel::platform
