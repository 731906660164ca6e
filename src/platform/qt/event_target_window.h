#pragma once

#include "platform/target_window.h"

class QObject;

namespace vantrel::platform {

// Posts each notification as a KeyerMessageEvent to a QObject, to be handled on that object's
// thread. Safe to call from any thread while the receiver lives.
class EventTargetWindow final : public TargetWindow {
 public:
  explicit EventTargetWindow(QObject* receiver) : receiver_(receiver) {}
  void Post(unsigned message, std::intptr_t wParam, std::intptr_t lParam) override;

 private:
  QObject* receiver_;
};

}  // namespace vantrel::platform
