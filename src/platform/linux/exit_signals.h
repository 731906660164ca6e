#pragma once

namespace vantrel::platform {

// SIGTERM, SIGHUP and SIGINT become one byte each on a pipe that the window's thread reads, so
// the program can leave the normal way. Until the exit has released key and PTT the handler
// only writes; after that a further signal ends the process at once. One object per process.
class ExitSignals {
 public:
  ExitSignals();
  ~ExitSignals();
  ExitSignals(const ExitSignals&) = delete;
  ExitSignals& operator=(const ExitSignals&) = delete;

  // Readable while signals are waiting.
  int ReadFd() const;

  // The exit has begun: if it has not finished after `seconds`, the process ends anyway.
  void StartWatchdog(unsigned seconds);

  // Key and PTT are released. From now on a further signal ends the process at once; so does
  // one that came while the release was being written. `signalsTaken` is how many of the
  // waiting signals started this exit (0 when the desktop session's end started it).
  void AllowImmediateExit(int signalsTaken);
};

}  // namespace vantrel::platform
