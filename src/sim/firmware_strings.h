#pragma once

#include <string>

namespace vantrel::sim {

struct VersionStrings {
  std::u16string product;
  std::u16string manufacturer;
};

// Strings from which a host reads back `version`: digits at positions 13 and 15 of the
// product string, or (for 10) a manufacturer beginning with 'J', or (for 99) neither.
// Throws std::invalid_argument above 99.
VersionStrings StringsForVersion(unsigned version);

}  // namespace vantrel::sim
