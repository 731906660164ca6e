#pragma once

#include <optional>
#include <string>

namespace vantrel::loglink {

// The logging program's socket name, standing for its window class.
inline constexpr const char* kLogProgramName = "TThwin";

// Where both programs keep their sockets: $XDG_RUNTIME_DIR, else /tmp/vantrel-<uid>, which is
// created private. Empty when the fallback exists but is not a private folder of this user.
std::optional<std::string> LinkDirectory();

std::optional<std::string> LogProgramAddress();

}  // namespace vantrel::loglink
