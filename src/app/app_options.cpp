#include "app/app_options.h"

#include <charconv>
#include <string_view>

namespace vantrel::app {
namespace {

constexpr std::string_view kSimulate = "--simulate";
constexpr std::string_view kLog = "--simulate-log=";
constexpr std::string_view kScript = "--simulate-script=";
constexpr std::string_view kNetKeyer = "--net-keyer";
constexpr std::string_view kConfigHome = "--config-home";

std::string ParseVersion(std::string_view text, unsigned& version) {
  unsigned value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 10 || value > 99) {
    return "--simulate: the firmware version must be a number from 10 to 99, not \"" +
           std::string(text) + "\"";
  }
  version = value;
  return {};
}

std::string TakeFile(std::string_view argument, std::string_view prefix, std::string& file) {
  file = argument.substr(prefix.size());
  if (file.empty()) return std::string(prefix) + ": a file name is needed";
  return {};
}

std::string TakeNetKeyer(std::string_view argument, AppOptions& options) {
  options.netKeyer = true;
  if (argument == kNetKeyer) return {};
  const std::string_view text = argument.substr(kNetKeyer.size() + 1);
  unsigned value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > 65535) {
    return "--net-keyer: the port must be a number from 1 to 65535, not \"" + std::string(text) +
           "\"";
  }
  options.netKeyerPort = value;
  return {};
}

std::string TakeOne(std::string_view argument, AppOptions& options) {
  if (argument == kConfigHome) {
    options.configHome = true;
    return {};
  }
  if (argument == kNetKeyer || argument.starts_with(std::string(kNetKeyer) + "=")) {
    return TakeNetKeyer(argument, options);
  }
  options.simulate = true;
  if (argument == kSimulate) return {};
  if (argument.starts_with(kLog)) return TakeFile(argument, kLog, options.simulateLog);
  if (argument.starts_with(kScript)) return TakeFile(argument, kScript, options.simulateScript);
  if (argument.starts_with(std::string(kSimulate) + "=")) {
    return ParseVersion(argument.substr(kSimulate.size() + 1), options.simulateVersion);
  }
  return "unknown option \"" + std::string(argument) + "\"";
}

}  // namespace

ParsedOptions ParseAppOptions(const std::vector<std::string>& arguments) {
  ParsedOptions parsed;
  for (const std::string& argument : arguments) {
    parsed.error = TakeOne(argument, parsed.options);
    if (!parsed.error.empty()) return parsed;
  }
  return parsed;
}

}  // namespace vantrel::app
