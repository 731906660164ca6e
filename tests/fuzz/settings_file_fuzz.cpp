#include <cstdint>
#include <sstream>
#include <string>

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

// A text's last CR is written just before the line's "\n", where the reader takes it for a line
// end; decimals are kept to six places, which a float read back from them keeps.
std::string AsReadBack(std::string saved) {
  for (std::size_t at = 0; (at = saved.find("\r\n", at)) != std::string::npos;) saved.erase(at, 1);
  return saved;
}

}  // namespace

// Whatever the file holds, every number taken lies in its range, and what was taken survives
// a save and reload.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Settings loaded = Read(std::string(reinterpret_cast<const char*>(data), size));
  Require(InRange(loaded), "a number out of its range");
  const std::string saved = FormatSettings(loaded);
  Require(FormatSettings(Read(saved)) == AsReadBack(saved), "changed by a save and reload");
  return 0;
}
