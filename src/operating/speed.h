#pragma once

namespace vantrel::operating {

inline constexpr unsigned kMinWpm = 5;
inline constexpr unsigned kMaxWpm = 50;
inline constexpr unsigned kResetWpm = 20;

constexpr bool IsKeyingSpeed(unsigned wpm) {
  return wpm >= kMinWpm && wpm <= kMaxWpm;
}

// The window's speed after the interface reported half its dot length `halfDot` (ms, > 0);
// `shorter` says that dot is shorter than the engine's.
struct SpeedReportOutcome {
  bool accepted = false;
  unsigned wpm = 0;
  unsigned lastSpeedValue = 0;
};

// A value meaning 5..50 WPM is taken, as one step up when the dot got shorter since the last
// accepted report and is flagged so (600 / w alone would often land on the old speed). Other
// values are refused and leave both the speed and the last value.
SpeedReportOutcome ApplySpeedReport(unsigned halfDot, bool shorter, unsigned wpm,
                                    unsigned lastSpeedValue);

}  // namespace vantrel::operating
