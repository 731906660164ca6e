#include "operating/status_coalescer.h"

#include "keyer/keyer_messages.h"

namespace vantrel::operating {
namespace {

// A report with an input line active also brings paddle or input messages, which must keep
// their order after its status.
constexpr std::intptr_t kNoInputs = 0x0F;

}  // namespace

void StatusCoalescer::Post(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
  if (message == WM_KEYER_STATUS && HoldBack(wParam, lParam)) return;
  window_.Post(message, wParam, lParam);
}

bool StatusCoalescer::HoldBack(std::intptr_t wParam, std::intptr_t lParam) {
  std::lock_guard lock(mutex_);
  const bool repeat = wParam == lastWParam_ && lParam == lastLParam_;
  if (resting_ && repeat && lParam == kNoInputs) {
    heldBack_ = true;
    return true;
  }
  heldBack_ = false;
  lastWParam_ = wParam;
  lastLParam_ = lParam;
  return false;
}

// Only the window's thread writes `resting_`, so it may read it without the lock; the window
// calls Wake at every change of its state and must not queue behind the reader for it.
void StatusCoalescer::Rest() {
  if (resting_) return;
  std::lock_guard lock(mutex_);
  resting_ = true;
}

void StatusCoalescer::Wake() {
  if (!resting_) return;
  std::lock_guard lock(mutex_);
  resting_ = false;
  if (!heldBack_) return;
  heldBack_ = false;
  // Posted under the lock: a newer report that passes has either cleared `heldBack_` already
  // or is posted after this re-delivery, never before it.
  window_.Post(WM_KEYER_STATUS, lastWParam_, lastLParam_);
}

}  // namespace vantrel::operating
