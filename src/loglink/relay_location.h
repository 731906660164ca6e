#pragma once

#include <string>

namespace vantrel::loglink {

inline constexpr char kRelayFileName[] = "vantrel-hamlog-relay.exe";

// Where the Turbo HAMLOG relay is, found from the running program's own path: beside an
// installed program in its libexec folder, or in a build tree's tools folder. Empty when it
// is in neither place.
std::string RelayLocation();

}  // namespace vantrel::loglink
