#pragma once

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace vantrel::bench {

// One ordinary CPU-bound process per core, as a compile, a browser tab or a decoder would keep
// beside the program on an operator's desktop. They end with this object, with the benchmark
// if it dies, and after `limitSeconds` whatever happens.
class CpuHogs {
 public:
  explicit CpuHogs(unsigned limitSeconds) {
    const long cores = sysconf(_SC_NPROCESSORS_ONLN);
    for (long i = 0; i < cores; ++i) {
      const pid_t pid = fork();
      if (pid == 0) Spin(limitSeconds);
      if (pid > 0) pids_.push_back(pid);
    }
  }
  ~CpuHogs() {
    for (const pid_t pid : pids_) kill(pid, SIGKILL);
    for (const pid_t pid : pids_) waitpid(pid, nullptr, 0);
  }
  CpuHogs(const CpuHogs&) = delete;
  CpuHogs& operator=(const CpuHogs&) = delete;

  std::size_t Count() const { return pids_.size(); }

 private:
  // In the child of a threaded process: system calls only.
  [[noreturn]] static void Spin(unsigned limitSeconds) {
    prctl(PR_SET_PDEATHSIG, SIGKILL, 0UL, 0UL, 0UL);
    signal(SIGALRM, SIG_DFL);
    alarm(limitSeconds);
    volatile unsigned long turns = 0;
    for (;;) turns = turns + 1;
  }

  std::vector<pid_t> pids_;
};

}  // namespace vantrel::bench
