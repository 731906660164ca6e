#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "require.h"
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

// A text's last CR is written just before the line's "\n", where the reader takes it for a
// Windows line end.
bool SameText(std::string_view loaded, std::string_view reloaded) {
  if (!loaded.empty() && loaded.back() == '\r') loaded.remove_suffix(1);
  return loaded == reloaded;
}

bool SameTexts(const MessageBank& a, const MessageBank& b) {
  return std::equal(a.begin(), a.end(), b.begin(), SameText);
}

bool SameAfterSave(const Settings& a, const Settings& b) {
  return SameTexts(a.FnMsgA, b.FnMsgA) && SameTexts(a.FnMsgB, b.FnMsgB) &&
         SameText(a.MyCALL, b.MyCALL) && a.WPM == b.WPM &&
         Near(a.CqLoopInterval, b.CqLoopInterval) && Near(a.WeightDot, b.WeightDot) &&
         Near(a.WeightDash, b.WeightDash) && Near(a.IntervalChar, b.IntervalChar) &&
         Near(a.IntervalWord, b.IntervalWord) && a.PttdBefore == b.PttdBefore &&
         a.PttdAfter == b.PttdAfter && SameText(a.Number, b.Number) && a.Auto == b.Auto &&
         a.PaddleRvs == b.PaddleRvs && a.PTTCtrl == b.PTTCtrl && a.SideTone == b.SideTone &&
         a.SideToneFreq == b.SideToneFreq && SameText(a.SideToneFreqIf, b.SideToneFreqIf) &&
         a.LogTime == b.LogTime;
}

}  // namespace

// Whatever the file holds, every number taken lies in its range, and what was taken survives
// every later save and reload.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Settings loaded = Read(std::string(reinterpret_cast<const char*>(data), size));
  Require(InRange(loaded), "a number out of its range");
  const Settings reloaded = Read(FormatSettings(loaded));
  Require(SameAfterSave(loaded, reloaded), "changed by a save and reload");
  Require(SameAfterSave(reloaded, Read(FormatSettings(reloaded))), "changed by a second save");
  return 0;
}
