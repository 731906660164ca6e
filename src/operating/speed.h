#pragma once

namespace vantrel::operating {

inline constexpr unsigned kMinWpm = 5;
inline constexpr unsigned kMaxWpm = 50;
inline constexpr unsigned kResetWpm = 20;

constexpr bool IsKeyingSpeed(unsigned wpm) {
  return wpm >= kMinWpm && wpm <= kMaxWpm;
}

// The keying speed's rules: the steps within 5..50 WPM and the interface's speed reports,
// with the last dot length it accepted.
class Speed {
 public:
  // One step up or down, held within 5..50.
  static unsigned Stepped(unsigned wpm, int step);
  static unsigned Clamped(int wpm);

  // Takes the interface's report of half its dot length `halfDot` (ms, > 0) into `wpm`;
  // `shorter` says that dot is shorter than the engine's. A value meaning 5..50 WPM is taken,
  // as one step up when the dot got shorter since the last accepted report and is flagged so
  // (600 / w alone would often land on the old speed). Other values are refused (false) and
  // leave both the speed and the last value.
  bool TakeReport(unsigned halfDot, bool shorter, unsigned& wpm);
  unsigned LastReportValue() const { return lastReportValue_; }

 private:
  unsigned lastReportValue_ = 0;
};

}  // namespace vantrel::operating
