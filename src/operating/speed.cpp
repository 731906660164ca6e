#include "operating/speed.h"

#include <algorithm>

#include "operating/operating_logic.h"

namespace vantrel::operating {

unsigned Speed::Stepped(unsigned wpm, int step) {
  if (step > 0 && wpm < kMaxWpm) return wpm + 1;
  if (step < 0 && wpm > kMinWpm) return wpm - 1;
  return wpm;
}

unsigned Speed::Clamped(int wpm) {
  return static_cast<unsigned>(
      std::clamp(wpm, static_cast<int>(kMinWpm), static_cast<int>(kMaxWpm)));
}

bool Speed::TakeReport(unsigned halfDot, bool shorter, unsigned& wpm) {
  const unsigned reported = 600 / halfDot;
  if (!IsKeyingSpeed(reported)) return false;
  const bool stepUp = lastReportValue_ > halfDot && shorter;
  wpm = stepUp ? wpm + 1 : reported;
  lastReportValue_ = halfDot;
  return true;
}

void OperatingLogic::ShowSpeed(unsigned wpm) {
  if (view_.SetSpinPosition(wpm)) OnSpeedBoxChanged();
}

// A speed outside the keyer's range stays in the box until the next refresh, but the field
// goes back to the speed the keyer keeps.
void OperatingLogic::OnSpeedBoxChanged() {
  if (!settingsApplied_ || !view_.ReadControls()) return;
  WindowFields& fields = view_.Fields();
  if (!IsKeyingSpeed(fields.WPM)) {
    fields.WPM = keyer_.GetSpeed();
    return;
  }
  keyer_.SetSpeed(fields.WPM);
}

void OperatingLogic::StepSpeed(int step) {
  view_.ReadControls();
  unsigned& wpm = Fields().WPM;
  wpm = Speed::Stepped(wpm, step);
  ShowSpeed(wpm);
}

void OperatingLogic::OnSpeedReport(unsigned halfDot, bool shorter) {
  if (halfDot == 0) return;
  WindowFields& fields = Fields();
  // A refused report brings the interface back to the window's speed.
  if (!speed_.TakeReport(halfDot, shorter, fields.WPM)) keyer_.SetSpeed(fields.WPM);
  ShowSpeed(fields.WPM);
}

void OperatingLogic::ApplyStepSpeed() {
  WindowFields& fields = Fields();
  if (IsKeyingSpeed(fields.WPM)) {
    keyer_.SetSpeed(fields.WPM);
  } else {
    fields.WPM = keyer_.GetSpeed();
  }
  ShowSpeed(fields.WPM);
}

void OperatingLogic::ResetSpeed() {
  Fields().WPM = kResetWpm;
  keyer_.SetSpeed(kResetWpm);
  ShowSpeed(kResetWpm);
}

void OperatingLogic::SetNetworkSpeed(unsigned wpm) {
  ApplyWpm(static_cast<int>(wpm));
}

void OperatingLogic::ApplyWpm(int wpm) {
  view_.ReadControls();
  Fields().WPM = Speed::Clamped(wpm);
  ShowSpeed(Fields().WPM);
}

void OperatingLogic::ApplyDueSpeedMarks() {
  std::vector<SpeedMark>& marks = WakeForSendState().PendingSpeedMarks;
  while (!marks.empty() && marks.front().position == 0) {
    ApplyWpm(static_cast<int>(Fields().WPM) + marks.front().wpmStep);
    marks.erase(marks.begin());
  }
}

void OperatingLogic::ShiftSpeedMarks(std::size_t handedOver) {
  for (SpeedMark& mark : WakeForSendState().PendingSpeedMarks) {
    mark.position -= std::min(mark.position, handedOver);
  }
}

}  // namespace vantrel::operating
