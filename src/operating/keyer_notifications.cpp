#include "keyer/keyer_messages.h"
#include "keyer/morse_code.h"
#include "operating/operating_logic.h"
#include "operating/speed_report.h"

namespace vantrel::operating {
namespace {

// The interface input that starts a CQ repeat; any other value ends one.
constexpr std::intptr_t kCqStartInput = 13;

}  // namespace

void OperatingLogic::OnKeyerMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
  switch (message) {
    case WM_KEYER_DECODED:
      return ShowDecoded(wParam, lParam);
    case WM_KEYER_TEXT_DONE:
      return OnTextDone();
    case WM_KEYER_SPEED:
      return OnSpeedReport(static_cast<unsigned>(wParam), lParam == 1);
    case WM_KEYER_STATUS:
      return OnStatus(static_cast<int>(wParam));
    case WM_KEYER_PADDLE:
      return view_.SetInputLineText({});
    case WM_KEYER_INPUT:
      return OnKeyerInput(wParam);
    case WM_KEYER_SPEED_UP:
      ++Fields().WPM;
      return ApplyStepSpeed();
    case WM_KEYER_SPEED_DOWN:
      --Fields().WPM;
      return ApplyStepSpeed();
    case WM_KEYER_SPEED_RESET:
      return ResetSpeed();
    default:
      return;
  }
}

void OperatingLogic::OnKeyerInput(std::intptr_t value) {
  if (value == kCqStartInput) {
    if (Fields().CqRepeatCount == 0) StartCqRepeat(kCqRepeatCalls);
    return;
  }
  Fields().CqRepeatCount = 0;
  KillCqTimer();
  DropQueuedText();
}

void OperatingLogic::OnSpeedReport(unsigned halfDot, bool shorter) {
  if (halfDot == 0) return;
  WindowFields& fields = Fields();
  const SpeedReportOutcome outcome =
      ApplySpeedReport(halfDot, shorter, fields.WPM, lastSpeedValue_);
  if (outcome.accepted) {
    fields.WPM = outcome.wpm;
    lastSpeedValue_ = outcome.lastSpeedValue;
  } else {
    // Bring the interface back to the window's speed.
    keyer_.SetSpeed(fields.WPM);
  }
  view_.SetSpinPosition(fields.WPM);
}

void OperatingLogic::ApplyStepSpeed() {
  WindowFields& fields = Fields();
  if (IsKeyingSpeed(fields.WPM)) {
    keyer_.SetSpeed(fields.WPM);
  } else {
    fields.WPM = keyer_.GetSpeed();
  }
  view_.SetSpinPosition(fields.WPM);
}

void OperatingLogic::ResetSpeed() {
  Fields().WPM = kResetWpm;
  keyer_.SetSpeed(kResetWpm);
  view_.SetSpinPosition(kResetWpm);
}

void OperatingLogic::ShowDecoded(std::intptr_t index, std::intptr_t lParam) {
  if (((lParam >> 16) & 0xFFFF) != 0) return;
  if (index < 0 || static_cast<std::size_t>(index) >= keyer::kCharacterCount) return;
  view_.SetFocus(Control::Log);
  view_.InsertAtLogEnd(std::string(1, static_cast<char>(keyer::kCharacterList[index])));
}

}  // namespace vantrel::operating
