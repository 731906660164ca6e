#include "loglink/line_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace vantrel::loglink {
namespace {

bool MakePipe(LineProcess::Pipe& pipe) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return false;
  pipe.read.Reset(fds[0]);
  pipe.write.Reset(fds[1]);
  return true;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Vantrel's environment with the command's names replaced or added.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& added) {
  std::vector<std::string> all(added);
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string_view text(*entry);
    std::string_view name = text.substr(0, text.find('=') + 1);
    bool replaced = false;
    for (const std::string& one : added) replaced = replaced || one.starts_with(name);
    if (!replaced) all.emplace_back(text);
  }
  return all;
}

// A write to a pipe whose reader has gone must fail, not raise SIGPIPE in the whole program.
ssize_t WriteWithoutSigpipe(int fd, std::string_view bytes) {
  sigset_t pipeSignal;
  sigset_t previous;
  sigemptyset(&pipeSignal);
  sigaddset(&pipeSignal, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
  const ssize_t written = ::write(fd, bytes.data(), bytes.size());
  if (written < 0 && errno == EPIPE) {
    const timespec none{};
    while (sigtimedwait(&pipeSignal, nullptr, &none) < 0 && errno == EINTR) {
    }
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return written;
}

}  // namespace

std::unique_ptr<LineProcess> LineProcess::Start(const Command& command, LineHandler onLine,
                                                std::string& error) {
  Pipe input;
  Pipe output;
  Pipe stop;
  if (!MakePipe(input) || !MakePipe(output) || !MakePipe(stop)) {
    error = std::strerror(errno);
    return nullptr;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input.read.get(), STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output.write.get(), STDOUT_FILENO);
  if (!command.keepErrorOutput) {
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  }
  std::vector<std::string> argv = command.argv;
  std::vector<std::string> environment = ChildEnvironment(command.environment);
  pid_t pid = -1;
  const int failed = posix_spawnp(&pid, argv[0].c_str(), &actions, nullptr, Pointers(argv).data(),
                                  Pointers(environment).data());
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) {
    error = argv[0] + ": " + std::strerror(failed);
    return nullptr;
  }
  ::fcntl(input.write.get(), F_SETFL, O_NONBLOCK);
  return std::unique_ptr<LineProcess>(
      new LineProcess(pid, command.exitBound, std::move(input.write), std::move(output.read),
                      std::move(stop), std::move(onLine)));
}

LineProcess::LineProcess(pid_t pid, std::chrono::milliseconds exitBound, UniqueFd input,
                         UniqueFd output, Pipe stop, LineHandler onLine)
    : pid_(pid),
      exitBound_(exitBound),
      input_(std::move(input)),
      output_(std::move(output)),
      stop_(std::move(stop)),
      onLine_(std::move(onLine)) {
  reader_ = std::thread([this] { ReadLines(output_.get(), stop_.read.get()); });
}

LineProcess::~LineProcess() {
  input_.Reset();
  Reap();
  // Programs the child started may hold its output open, so the reader is told to stop.
  stop_.write.Reset();
  reader_.join();
}

void LineProcess::ReadLines(int output, int stop) {
  std::string pending;
  char buffer[4096];
  for (;;) {
    pollfd waits[2] = {{output, POLLIN, 0}, {stop, POLLIN, 0}};
    if (::poll(waits, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (waits[1].revents != 0) return;
    const ssize_t got = ::read(output, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return;
    pending.append(buffer, static_cast<std::size_t>(got));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      onLine_(std::string_view(pending).substr(0, end));
      pending.erase(0, end + 1);
    }
  }
}

bool LineProcess::Running() {
  if (reaped_) return false;
  const pid_t ended = ::waitpid(pid_, nullptr, WNOHANG);
  reaped_ = ended == pid_ || ended < 0;
  return !reaped_;
}

bool LineProcess::WriteLine(std::string_view line) {
  return WriteWithoutSigpipe(input_.get(), line) == static_cast<ssize_t>(line.size());
}

void LineProcess::Reap() {
  const auto deadline = std::chrono::steady_clock::now() + exitBound_;
  while (Running() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (!Running()) return;
  ::kill(pid_, SIGKILL);
  reaped_ = ::waitpid(pid_, nullptr, 0) == pid_;
}

}  // namespace vantrel::loglink
