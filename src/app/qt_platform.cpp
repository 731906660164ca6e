#include "app/qt_platform.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace vantrel::app {
namespace {

bool Set(const char* value) {
  return value != nullptr && *value != '\0';
}

bool NamesPlatform(const std::string& argument) {
  return argument == "-platform" || argument.starts_with("-platform=");
}

}  // namespace

std::optional<std::string> PreferredQtPlatform(const PlatformEnvironment& environment) {
  if (Set(environment.qtQpaPlatform)) return std::nullopt;
  if (std::ranges::any_of(environment.arguments, NamesPlatform)) return std::nullopt;
  const bool wayland = Set(environment.waylandDisplay) ||
                       (Set(environment.xdgSessionType) &&
                        std::string_view(environment.xdgSessionType) == "wayland");
  if (!wayland || !Set(environment.display)) return std::nullopt;
  return "xcb;wayland";
}

void ChooseQtPlatform(int argc, char** argv) {
  const PlatformEnvironment environment{std::getenv("QT_QPA_PLATFORM"),
                                        std::getenv("XDG_SESSION_TYPE"),
                                        std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY"),
                                        std::vector<std::string>(argv + 1, argv + argc)};
  if (auto platform = PreferredQtPlatform(environment)) {
    setenv("QT_QPA_PLATFORM", platform->c_str(), 1);
  }
}

}  // namespace vantrel::app
