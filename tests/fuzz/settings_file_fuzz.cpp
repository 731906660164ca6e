#include <regex>
#include <sstream>
#include <string>

#include "fuzz_target.h"
#include "settings/settings_file.h"

using namespace vantrel::settings;

static Settings Read(const std::string& bytes) {
  Settings settings;
  std::istringstream in(bytes);
  ReadSettings(settings, in);
  return settings;
}

static bool InRange(const Settings& s) {
  return kWpmRange.Contains(s.WPM) && kPttdBeforeRange.Contains(s.PttdBefore) &&
         kPttdAfterRange.Contains(s.PttdAfter) && kSideToneFreqRange.Contains(s.SideToneFreq) &&
         kCqLoopIntervalRange.Contains(s.CqLoopInterval) && kWeightRange.Contains(s.WeightDot) &&
         kWeightRange.Contains(s.WeightDash) && kIntervalCharRange.Contains(s.IntervalChar) &&
         kIntervalWordRange.Contains(s.IntervalWord) &&
         s.SideToneFreqIfIndex == SideToneFreqIfIndexOf(s.SideToneFreqIf);
}

// Whatever the file holds, every number taken lies in its range, and what was taken survives
// a save and reload. A text's last CR is written just before the line's "\n", where the reader
// takes it for a line end; decimals are kept to six places, which a float read back keeps.
void FuzzOne(std::string_view bytes) {
  const Settings loaded = Read(std::string(bytes));
  Require(InRange(loaded), "a number out of its range");
  const std::string saved = FormatSettings(loaded);
  Require(FormatSettings(Read(saved)) == std::regex_replace(saved, std::regex("\r\n"), "\n"),
          "changed by a save and reload");
}
