#pragma once

#include <QString>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "app/machine.h"

namespace vantrel::app {

// One run of the operating window, from the single-instance check to the window's end.
struct WindowRun {
  std::filesystem::path workingDir;
  // Where the single-instance object "MyApp" lives.
  std::filesystem::path instanceDir;
  QString titleNote;
  // Called only once this copy is the one that runs; nullptr ends the run with exit code 1.
  std::function<std::unique_ptr<Machine>()> makeMachine;
  // The network keyer forced on for this run, at this port (0: the profile file's).
  std::optional<unsigned> netKeyerPort;
};

// Another copy already running: this one asks it to come to the front and returns 0 at once,
// before any device is opened or any file written. Otherwise runs the window modally and
// returns 0 when it has closed.
int RunOperatingWindow(const WindowRun& run);

}  // namespace vantrel::app
