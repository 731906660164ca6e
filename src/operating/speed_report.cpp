#include "operating/speed_report.h"

namespace vantrel::operating {

SpeedReportOutcome ApplySpeedReport(unsigned halfDot, bool shorter, unsigned wpm,
                                    unsigned lastSpeedValue) {
  const unsigned reported = 600 / halfDot;
  if (!IsKeyingSpeed(reported)) return {false, wpm, lastSpeedValue};
  const bool stepUp = lastSpeedValue > halfDot && shorter;
  return {true, stepUp ? wpm + 1 : reported, halfDot};
}

}  // namespace vantrel::operating
