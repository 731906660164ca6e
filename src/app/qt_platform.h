#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vantrel::app {

// What decides the window system the program runs on.
struct PlatformEnvironment {
  const char* qtQpaPlatform = nullptr;   // QT_QPA_PLATFORM
  const char* xdgSessionType = nullptr;  // XDG_SESSION_TYPE
  const char* waylandDisplay = nullptr;  // WAYLAND_DISPLAY
  const char* display = nullptr;         // DISPLAY
  std::vector<std::string> arguments;    // the command line, for Qt's own -platform
};

// "xcb;wayland" on a Wayland desktop that also offers an X server (XWayland): a Wayland client
// can neither place its window nor keep it above the others, and the window's place and
// always-on-top state are part of what the program keeps; Qt falls back to Wayland when the X
// server cannot be reached. Nothing when the operator chose a platform (QT_QPA_PLATFORM or
// -platform) or there is no X server.
std::optional<std::string> PreferredQtPlatform(const PlatformEnvironment& environment);

// Sets QT_QPA_PLATFORM from the process's environment; before the application object exists.
void ChooseQtPlatform(int argc, char** argv);

}  // namespace vantrel::app
