#include "settings/log_link_profile.h"

#include <array>
#include <string_view>
#include <utility>

#include "settings/settings.h"

namespace vantrel::settings {
namespace {

using loglink::LogProgram;

constexpr char kSection[] = "LogLink";

constexpr std::array<std::pair<LogProgram, std::string_view>, 3> kProgramNames = {{
    {LogProgram::kHamlogWine, "hamlog-wine"},
    {LogProgram::kFldigiXmlRpc, "fldigi"},
    {LogProgram::kXlog, "xlog"},
}};

}  // namespace

loglink::LogLinkSettings LoadLogLinkSettings(const ProfileFile& profile) {
  loglink::LogLinkSettings settings;
  const std::string program = profile.GetString(kSection, "Program", "");
  for (const auto& [value, name] : kProgramNames) {
    if (program == name) settings.program = value;
  }
  settings.wineCommand = profile.GetString(kSection, "Wine", settings.wineCommand);
  if (settings.wineCommand.empty()) settings.wineCommand = loglink::LogLinkSettings{}.wineCommand;
  settings.winePrefix = profile.GetString(kSection, "WinePrefix", "");
  const int port = profile.GetInt(kSection, "Port", 0);
  if (kLogLinkPortRange.Contains(port)) settings.port = port;
  return settings;
}

bool SaveLogLinkSettings(const ProfileFile& profile, const loglink::LogLinkSettings& settings) {
  std::string_view program;
  for (const auto& [value, name] : kProgramNames) {
    if (settings.program == value) program = name;
  }
  return profile.WriteString(kSection, "Program", program) &&
         profile.WriteString(kSection, "Wine", settings.wineCommand) &&
         profile.WriteString(kSection, "WinePrefix", settings.winePrefix) &&
         profile.WriteString(kSection, "Port", std::to_string(settings.port));
}

}  // namespace vantrel::settings
