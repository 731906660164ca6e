#pragma once

#include <cstdint>
#include <mutex>

#include "platform/target_window.h"

namespace vantrel::operating {

// Where the window says whether it needs every status report. While it rests, a report that
// repeats the last one delivered would change nothing and may be held back.
class StatusGate {
 public:
  virtual ~StatusGate() = default;
  virtual void Rest() = 0;
  // Ends a rest; a report held back during it is delivered after all.
  virtual void Wake() = 0;
};

// Stands between the engine and the window's message queue so that an idle window is not woken
// by every status report. While the window rests, a WM_KEYER_STATUS equal to the last one passed
// on, with no input line active, is held back; waking passes the last held-back one on. Other
// messages always pass. Post may come from any thread; Rest and Wake from the window's thread.
class StatusCoalescer final : public platform::TargetWindow, public StatusGate {
 public:
  explicit StatusCoalescer(platform::TargetWindow& window) : window_(window) {}

  void Post(unsigned message, std::intptr_t wParam, std::intptr_t lParam) override;
  void Rest() override;
  void Wake() override;

 private:
  bool HoldBack(std::intptr_t wParam, std::intptr_t lParam);

  platform::TargetWindow& window_;
  std::mutex mutex_;
  bool resting_ = false;
  bool heldBack_ = false;
  // No buffer state is negative, so nothing repeats before the first report has passed.
  std::intptr_t lastWParam_ = -1;
  std::intptr_t lastLParam_ = 0;
};

}  // namespace vantrel::operating
