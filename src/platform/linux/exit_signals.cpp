#include "platform/linux/exit_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <stdexcept>

namespace vantrel::platform {
namespace {

constexpr std::array kExitSignals{SIGTERM, SIGHUP, SIGINT};

int pipeFds[2] = {-1, -1};
std::atomic<int> immediateExit = 0;
std::array<struct sigaction, kExitSignals.size()> previous{};
struct sigaction previousAlarm {};

// Writes first and looks at the flag afterwards, so a signal that races with
// AllowImmediateExit is either seen in the pipe there or ends the process here.
void OnExitSignal(int signal) {
  const int saved = errno;
  const auto byte = static_cast<unsigned char>(signal);
  [[maybe_unused]] ssize_t written = ::write(pipeFds[1], &byte, 1);
  if (immediateExit.load() != 0) ::_exit(128 + signal);
  errno = saved;
}

void OnWatchdog(int signal) {
  ::_exit(128 + signal);
}

void Install(int signal, void (*handler)(int), struct sigaction* old) {
  struct sigaction action {};
  action.sa_handler = handler;
  ::sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(signal, &action, old);
}

struct Drained {
  int count = 0;
  int lastSignal = 0;
};

Drained DrainPipe() {
  Drained drained;
  unsigned char bytes[16];
  for (ssize_t n; (n = ::read(pipeFds[0], bytes, sizeof bytes)) > 0;) {
    drained.count += static_cast<int>(n);
    drained.lastSignal = bytes[n - 1];
  }
  return drained;
}

}  // namespace

ExitSignals::ExitSignals() {
  if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("pipe2 failed");
  immediateExit = 0;
  for (std::size_t i = 0; i < kExitSignals.size(); ++i) {
    Install(kExitSignals[i], OnExitSignal, &previous[i]);
  }
}

ExitSignals::~ExitSignals() {
  ::alarm(0);
  for (std::size_t i = 0; i < kExitSignals.size(); ++i) {
    ::sigaction(kExitSignals[i], &previous[i], nullptr);
  }
  ::sigaction(SIGALRM, &previousAlarm, nullptr);
  ::close(pipeFds[0]);
  ::close(pipeFds[1]);
  pipeFds[0] = pipeFds[1] = -1;
}

int ExitSignals::ReadFd() const {
  return pipeFds[0];
}

void ExitSignals::StartWatchdog(unsigned seconds) {
  Install(SIGALRM, OnWatchdog, &previousAlarm);
  ::alarm(seconds);
}

void ExitSignals::AllowImmediateExit(int signalsTaken) {
  immediateExit.store(1);
  const Drained drained = DrainPipe();
  if (drained.count > signalsTaken) ::_exit(128 + drained.lastSignal);
}

}  // namespace vantrel::platform
