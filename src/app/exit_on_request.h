#pragma once

#include <QObject>
#include <QSocketNotifier>

#include "platform/linux/exit_signals.h"

namespace vantrel::app {

// Leaves the program the normal way when a signal or the end of the desktop session asks for
// it: key and PTT are released first, every modal box is closed, and the operating window (if
// one is open) runs its exit, which saves the settings and the profile; destroying the window
// then sends the engine's closing commands. The exit is given a few seconds at most.
class ExitOnRequest final : public QObject {
  Q_OBJECT

 public:
  explicit ExitOnRequest(platform::ExitSignals& exitSignals);

  // `signalsTaken`: how many waiting signals asked for this exit (0 for the session's end).
  void Exit(int signalsTaken);

 private:
  platform::ExitSignals& signals_;
  QSocketNotifier notifier_;
  bool exiting_ = false;
};

}  // namespace vantrel::app
