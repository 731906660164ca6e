#pragma once

#include <QObject>

#include <functional>

#include "platform/key_injector.h"

namespace vantrel::platform {

// Delivers Backspace and Escape as typed keys to the widget that has the keyboard focus, on
// the GUI thread. Linux has no Alt+Kana toggle: Alt is dropped and each Kana press is
// reported through `onKana` instead, so the window can show the mode. Key() may be called
// from any thread; whatever is still queued when the injector goes is dropped.
class FocusKeyInjector final : public KeyInjector {
 public:
  explicit FocusKeyInjector(std::function<void()> onKana) : onKana_(std::move(onKana)) {}
  void Key(int virtualKey, bool down) override;

 private:
  void Deliver(int virtualKey, bool down);

  std::function<void()> onKana_;
  QObject context_;
};

}  // namespace vantrel::platform
