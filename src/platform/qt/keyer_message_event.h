#pragma once

#include <QEvent>

#include <cstdint>

namespace vantrel::platform {

// A notification of the keyer engine on its way to the window's thread.
class KeyerMessageEvent final : public QEvent {
 public:
  KeyerMessageEvent(unsigned message, std::intptr_t wParam, std::intptr_t lParam)
      : QEvent(Kind()), message_(message), wParam_(wParam), lParam_(lParam) {}

  static QEvent::Type Kind();

  unsigned message() const { return message_; }
  std::intptr_t wParam() const { return wParam_; }
  std::intptr_t lParam() const { return lParam_; }

 private:
  unsigned message_;
  std::intptr_t wParam_;
  std::intptr_t lParam_;
};

}  // namespace vantrel::platform
