#include "operating/speed.h"

#include <algorithm>

namespace vantrel::operating {
namespace {

unsigned Stepped(unsigned wpm, int step) {
  if (step > 0 && wpm < kMaxWpm) return wpm + 1;
  if (step < 0 && wpm > kMinWpm) return wpm - 1;
  return wpm;
}

unsigned Clamped(int wpm) {
  return static_cast<unsigned>(
      std::clamp(wpm, static_cast<int>(kMinWpm), static_cast<int>(kMaxWpm)));
}

}  // namespace

void Speed::Show(unsigned wpm) {
  if (context_.view.SetSpinPosition(wpm)) OnBoxChanged();
}

// A speed outside the keyer's range stays in the box until the next refresh, but the field
// goes back to the speed the keyer keeps.
void Speed::OnBoxChanged() {
  if (!live_ || !context_.view.ReadControls()) return;
  WindowFields& fields = context_.view.Fields();
  if (!IsKeyingSpeed(fields.WPM)) {
    fields.WPM = context_.keyer.GetSpeed();
    return;
  }
  context_.keyer.SetSpeed(fields.WPM);
}

void Speed::Step(int step) {
  context_.view.ReadControls();
  unsigned& wpm = context_.Fields().WPM;
  wpm = Stepped(wpm, step);
  Show(wpm);
}

void Speed::Apply(int wpm) {
  context_.view.ReadControls();
  context_.Fields().WPM = Clamped(wpm);
  Show(context_.Fields().WPM);
}

void Speed::OnReport(unsigned halfDot, bool shorter) {
  if (halfDot == 0) return;
  unsigned& wpm = context_.Fields().WPM;
  const unsigned reported = 600 / halfDot;
  if (IsKeyingSpeed(reported)) {
    const bool stepUp = lastReportValue_ > halfDot && shorter;
    wpm = stepUp ? wpm + 1 : reported;
    lastReportValue_ = halfDot;
  } else {
    context_.keyer.SetSpeed(wpm);
  }
  Show(wpm);
}

void Speed::OnSwitch(int step) {
  context_.Fields().WPM += step;
  GiveEngine();
  Show(context_.Fields().WPM);
}

void Speed::GiveEngine() {
  WindowFields& fields = context_.Fields();
  if (IsKeyingSpeed(fields.WPM)) {
    context_.keyer.SetSpeed(fields.WPM);
  } else {
    fields.WPM = context_.keyer.GetSpeed();
  }
}

void Speed::Reset() {
  context_.Fields().WPM = kResetWpm;
  context_.keyer.SetSpeed(kResetWpm);
  Show(kResetWpm);
}

}  // namespace vantrel::operating
