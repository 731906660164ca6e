#include "platform/qt/keyer_message_event.h"

namespace vantrel::platform {

QEvent::Type KeyerMessageEvent::Kind() {
  static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
  return kind;
}

}  // namespace vantrel::platform
