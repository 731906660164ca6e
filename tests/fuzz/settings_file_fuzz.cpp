#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "settings/settings_file.h"

namespace {

using namespace vantrel::settings;

Settings Read(const std::string& bytes) {
  Settings settings;
  std::istringstream in(bytes);
  ReadSettings(settings, in);
  return settings;
}

bool InRange(const Settings& s) {
  return kWpmRange.Contains(s.WPM) && kPttdBeforeRange.Contains(s.PttdBefore) &&
         kPttdAfterRange.Contains(s.PttdAfter) && kSideToneFreqRange.Contains(s.SideToneFreq) &&
         kCqLoopIntervalRange.Contains(s.CqLoopInterval) && kWeightRange.Contains(s.WeightDot) &&
         kWeightRange.Contains(s.WeightDash) && kIntervalCharRange.Contains(s.IntervalChar) &&
         kIntervalWordRange.Contains(s.IntervalWord) &&
         s.SideToneFreqIfIndex == SideToneFreqIfIndexOf(s.SideToneFreqIf);
}

// The file keeps decimals to six places, so a reread value may differ in the seventh.
bool Near(float a, float b) {
  return std::fabs(a - b) <= 1e-6f;
}

bool SameAfterSave(const Settings& a, const Settings& b) {
  return a.FnMsgA == b.FnMsgA && a.FnMsgB == b.FnMsgB && a.MyCALL == b.MyCALL && a.WPM == b.WPM &&
         Near(a.CqLoopInterval, b.CqLoopInterval) && Near(a.WeightDot, b.WeightDot) &&
         Near(a.WeightDash, b.WeightDash) && Near(a.IntervalChar, b.IntervalChar) &&
         Near(a.IntervalWord, b.IntervalWord) && a.PttdBefore == b.PttdBefore &&
         a.PttdAfter == b.PttdAfter && a.Number == b.Number && a.Auto == b.Auto &&
         a.PaddleRvs == b.PaddleRvs && a.PTTCtrl == b.PTTCtrl && a.SideTone == b.SideTone &&
         a.SideToneFreq == b.SideToneFreq && a.SideToneFreqIf == b.SideToneFreqIf &&
         a.LogTime == b.LogTime;
}

}  // namespace

// Whatever the file holds, every number taken lies in its range, and what was taken survives
// a save and a reload; a second save writes the same bytes as the first.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Settings loaded = Read(std::string(reinterpret_cast<const char*>(data), size));
  if (!InRange(loaded)) std::abort();
  const std::string saved = FormatSettings(loaded);
  const Settings reloaded = Read(saved);
  if (!SameAfterSave(loaded, reloaded)) std::abort();
  if (FormatSettings(reloaded) != saved) std::abort();
  return 0;
}
