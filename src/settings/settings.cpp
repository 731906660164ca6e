#include "settings/settings.h"

namespace vantrel::settings {

int SideToneFreqIfIndexOf(std::string_view text) {
  for (std::size_t i = 0; i < SideToneFreqList.size(); ++i) {
    if (SideToneFreqList[i] == text) return static_cast<int>(i);
  }
  return kDefaultSideToneFreqIfIndex;
}

}  // namespace vantrel::settings
