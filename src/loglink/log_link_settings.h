#pragma once

#include <string>

namespace vantrel::loglink {

enum class LogProgram { kHamlogWine, kFldigiXmlRpc, kXlog };

// Which logging program F11 and F12 reach, and how; kept in the profile file's section
// "LogLink".
struct LogLinkSettings {
  LogProgram program = LogProgram::kHamlogWine;
  std::string wineCommand = "wine";
  std::string winePrefix;  // empty: ~/.wine
  int port = 0;            // 0: the program's default: 7362 fldigi, 7311 xlog

  bool operator==(const LogLinkSettings&) const = default;
};

}  // namespace vantrel::loglink
