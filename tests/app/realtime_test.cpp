// Vantrel runs as a child on a simulated firmware 10 interface whose paddle is held from the
// start, so the engine keys dots on its timer thread and the reader carries them to the
// interface. The system bus is one that does not exist, so RealtimeKit never answers.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sched.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/realtime_threads.h"
#include "support/temp_dir.h"

extern char** environ;

namespace vantrel::app {
namespace {

using namespace std::chrono_literals;

// A guard against a child that hangs, not a measure of anything.
constexpr auto kGuard = 30s;

struct ChildRun {
  bool keyed = false;
  // "name policy" of every thread that is not ordinary, sorted.
  std::vector<std::string> realtime;
  long refusalLines = 0;
  int status = -1;
  std::string log;
};

std::vector<std::string> RealtimeThreadsOf(pid_t pid) {
  std::vector<std::string> threads;
  std::error_code error;
  const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
  for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
    std::string name;
    std::getline(std::ifstream(task.path() / "comm"), name);
    const int policy = sched_getscheduler(std::stoi(task.path().filename().string()));
    if (policy > 0) threads.push_back(name + " " + std::to_string(policy & ~SCHED_RESET_ON_FORK));
  }
  std::sort(threads.begin(), threads.end());
  return threads;
}

// With `refuse` the child may not make threads real-time itself: no RLIMIT_RTPRIO, and
// CAP_SYS_NICE out of its bounding set, which takes it from root as well.
pid_t StartVantrel(const settings::TempDir& dir, bool refuse) {
  const std::string runtime = "XDG_RUNTIME_DIR=" + dir.path().string();
  std::vector<std::string> settings = {"QT_QPA_PLATFORM=offscreen", "VANTREL_DEBUG=1", runtime,
                                       "DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent"};
  std::vector<char*> environment;
  for (std::string& setting : settings) environment.push_back(setting.data());
  for (char** inherited = environ; *inherited != nullptr; ++inherited)
    environment.push_back(*inherited);
  environment.push_back(nullptr);
  const char* arguments[] = {VANTREL_PROGRAM, "--simulate=10", "--simulate-log=sim.log",
                             "--simulate-script=paddle.txt", nullptr};
  dir.Write("paddle.txt", "100 paddle dot\n");
  const std::string errors = (dir.path() / "stderr.txt").string();

  const pid_t pid = fork();
  if (pid != 0) return pid;
  if (refuse) {
    const rlimit none{0, 0};
    setrlimit(RLIMIT_RTPRIO, &none);
    prctl(PR_CAPBSET_DROP, CAP_SYS_NICE, 0, 0, 0);
  }
  const int fd = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (fd < 0 || dup2(fd, STDERR_FILENO) < 0 || chdir(dir.path().c_str()) != 0) _exit(127);
  execve(arguments[0], const_cast<char**>(arguments), environment.data());
  _exit(127);
}

long CountLines(const std::string& text, const std::string& part) {
  long count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// Waits until the interface has keyed a dot (and, when refused, the refusal is logged), takes
// the threads' policies, then ends the child as the desktop would.
ChildRun KeyWithPaddle(bool refuse) {
  settings::TempDir dir;
  const pid_t pid = StartVantrel(dir, refuse);
  const auto ready = [&] {
    const std::string log = dir.Read("sim.log");
    const bool keyed =
        log.find(" KEY 1\n") != std::string::npos && log.find(" KEY 0\n") != std::string::npos;
    return keyed && (!refuse || dir.Read("stderr.txt").find("real-time") != std::string::npos);
  };
  for (auto end = std::chrono::steady_clock::now() + kGuard;
       !ready() && std::chrono::steady_clock::now() < end;) {
    std::this_thread::sleep_for(10ms);
  }
  ChildRun run;
  run.keyed = ready();
  run.realtime = RealtimeThreadsOf(pid);
  kill(pid, SIGTERM);
  waitpid(pid, &run.status, 0);
  run.log = dir.Read("stderr.txt");
  run.refusalLines = CountLines(run.log, "real-time scheduling not granted");
  return run;
}

TEST(Realtime, TheTimerAndReaderThreadsAloneGetSchedFifoWhenPermitted) {
  std::string refusal;
  std::thread([&] { refusal = platform::SetFifo(gettid(), platform::kRealtimePriority); }).join();
  if (!refusal.empty()) GTEST_SKIP() << "this process may not use real-time scheduling";
  const ChildRun run = KeyWithPaddle(false);
  EXPECT_TRUE(run.keyed) << run.log;
  const std::string fifo = " " + std::to_string(SCHED_FIFO);
  EXPECT_EQ(run.realtime,
            (std::vector<std::string>{"vantrel-reader" + fifo, "vantrel-timer" + fifo}));
  EXPECT_EQ(run.refusalLines, 0) << run.log;
  EXPECT_EQ(run.status, 0);
}

TEST(Realtime, ARefusalLeavesTheKeyingWorkingAndSaysSoInOneDiagnosticLine) {
  const ChildRun run = KeyWithPaddle(true);
  EXPECT_TRUE(run.keyed) << run.log;
  EXPECT_EQ(run.realtime, std::vector<std::string>{});
  EXPECT_EQ(run.refusalLines, 1) << run.log;
  EXPECT_EQ(run.status, 0);
}

}  // namespace
}  // namespace vantrel::app
