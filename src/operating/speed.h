#pragma once

#include "operating/operating_context.h"

namespace vantrel::operating {

inline constexpr unsigned kMinWpm = 5;
inline constexpr unsigned kMaxWpm = 50;
inline constexpr unsigned kResetWpm = 20;

constexpr bool IsKeyingSpeed(unsigned wpm) {
  return wpm >= kMinWpm && wpm <= kMaxWpm;
}

// The keying speed. The window's WPM field keeps it; the speed box shows it and the engine is
// given it. Steps stay within 5..50 WPM; the interface's speed reports are taken against the
// last dot length it accepted.
class Speed {
 public:
  explicit Speed(OperatingContext& context) : context_(context) {}

  // Before the settings gave the window its speed, a change of the box applies nothing.
  bool Live() const { return live_; }
  void GoLive() { live_ = true; }

  // The operator changed the speed box.
  void OnBoxChanged();
  // One step up or down from the box, held within 5..50.
  void Step(int step);
  // `wpm` held within 5..50.
  void Apply(int wpm);
  // The interface's report of half its dot length `halfDot` (ms); `shorter` says that dot is
  // shorter than the engine's. A value meaning 5..50 WPM is taken, as one step up when the dot
  // got shorter since the last accepted report and is flagged so (600 / w alone would often
  // land on the old speed). Other values bring the interface back to the window's speed.
  void OnReport(unsigned halfDot, bool shorter);
  // The interface's speed switch moved the window's speed by `step`.
  void OnSwitch(int step);
  void Reset();
  // The engine takes the window's speed; one outside 5..50 goes back to the engine's.
  void GiveEngine();

 private:
  // Shows the speed; a change of what the box shows applies it as the operator's would.
  void Show(unsigned wpm);

  OperatingContext& context_;
  bool live_ = false;
  unsigned lastReportValue_ = 0;
};

}  // namespace vantrel::operating
