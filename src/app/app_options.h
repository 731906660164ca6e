#pragma once

#include <string>
#include <vector>

namespace vantrel::app {

// The command line. Without options the program runs on the real HID devices.
struct AppOptions {
  bool simulate = false;
  unsigned simulateVersion = 23;
  std::string simulateLog;     // empty: no event log
  std::string simulateScript;  // empty: no script
  bool netKeyer = false;       // the network keyer on for this run
  unsigned netKeyerPort = 0;   // 0: the port of the profile file
  bool configHome = false;     // the files in the per-user configuration folder
  bool operator==(const AppOptions&) const = default;
};

struct ParsedOptions {
  AppOptions options;
  std::string error;  // empty when the command line was understood
};

// `arguments` without the program name. A log or a script implies --simulate.
ParsedOptions ParseAppOptions(const std::vector<std::string>& arguments);

inline constexpr char kUsage[] =
    "usage: vantrel [--simulate[=VERSION]] [--simulate-log=FILE] [--simulate-script=FILE]\n"
    "               [--net-keyer[=PORT]] [--config-home]\n"
    "  --simulate[=VERSION]    use a simulated Halvix of firmware VERSION (10..99, default 23)\n"
    "  --simulate-log=FILE     append every event of the simulated interface to FILE\n"
    "  --simulate-script=FILE  play the operator's actions in FILE on the simulated interface\n"
    "  --net-keyer[=PORT]      listen for cwdaemon-protocol clients for this run (UDP PORT)\n"
    "  --config-home           keep Vantrel.cfg, Vantrel.ini and Vantrel.tbl in\n"
    "                          $XDG_CONFIG_HOME/vantrel, not in the working directory\n";

}  // namespace vantrel::app
