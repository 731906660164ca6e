#include "platform/linux/realtime_threads.h"

#include <sched.h>
#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/diag.h"
#include "platform/linux/thread_name.h"

namespace vantrel::platform {
namespace {

// The threads made real-time, for the SIGXCPU handler. A slot whose thread has ended is reused.
std::array<std::atomic<ThreadId>, 16> realtimeThreads{};
std::atomic<bool> traceDemotion{false};

bool ThreadOfThisProcess(ThreadId tid) {
  return tid != 0 && tgkill(getpid(), tid, 0) == 0;
}

void Remember(ThreadId tid) {
  for (auto& slot : realtimeThreads) {
    ThreadId old = slot.load();
    if (!ThreadOfThisProcess(old) && slot.compare_exchange_strong(old, tid)) return;
  }
}

// Plain system calls only: it runs as a signal handler.
void DemoteRealtimeThreads(int) {
  const int savedErrno = errno;
  for (const auto& slot : realtimeThreads) {
    const ThreadId tid = slot.load();
    if (!ThreadOfThisProcess(tid)) continue;
    const sched_param ordinary{};
    sched_setscheduler(tid, SCHED_OTHER, &ordinary);
  }
  if (traceDemotion) {
    constexpr char kText[] =
        "vantrel: a real-time thread ran past RLIMIT_RTTIME; back to ordinary scheduling\n";
    [[maybe_unused]] const auto written = write(STDERR_FILENO, kText, sizeof kText - 1);
  }
  errno = savedErrno;
}

// An unprivileged process may use priorities up to its RLIMIT_RTPRIO.
int DirectPriority() {
  rlimit limit{};
  getrlimit(RLIMIT_RTPRIO, &limit);
  if (limit.rlim_cur > 0 && limit.rlim_cur < static_cast<rlim_t>(kRealtimePriority)) {
    return static_cast<int>(limit.rlim_cur);
  }
  return kRealtimePriority;
}

}  // namespace

std::string SetFifo(ThreadId tid, int priority) {
  sched_param param{};
  param.sched_priority = priority;
  if (sched_setscheduler(tid, SCHED_FIFO | SCHED_RESET_ON_FORK, &param) == 0) return {};
  return "SCHED_FIFO " + std::to_string(priority) + ": " + std::strerror(errno);
}

void LimitRealtimeRuntime(long hardMicros) {
  rlimit limit{};
  getrlimit(RLIMIT_RTTIME, &limit);
  limit.rlim_max = std::min(limit.rlim_max, static_cast<rlim_t>(hardMicros));
  limit.rlim_cur = std::min(limit.rlim_cur, limit.rlim_max / 2);
  setrlimit(RLIMIT_RTTIME, &limit);
  traceDemotion = TraceEnabled();
  struct sigaction action {};
  action.sa_handler = DemoteRealtimeThreads;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGXCPU, &action, nullptr);
}

RealtimeThreads::RealtimeThreads(Service service) : service_(std::move(service)) {
  LimitRealtimeRuntime();
}

RealtimeThreads::~RealtimeThreads() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (asker_.joinable()) asker_.join();
}

void RealtimeThreads::MakeThreadRealtime(ThreadId tid) {
  std::string why = SetFifo(tid, DirectPriority());
  if (why.empty()) return Remember(tid);
  if (!service_) return Report(why);
  std::lock_guard lock(mutex_);
  refusals_.push_back({tid, std::move(why)});
  if (!asker_.joinable()) asker_ = std::thread(&RealtimeThreads::AskService, this);
  wake_.notify_all();
}

void RealtimeThreads::AskService() {
  NameThisThread("vantrel-rtkit");
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !refusals_.empty(); });
    if (stopping_) return;
    const Refusal refusal = std::move(refusals_.front());
    refusals_.pop_front();
    lock.unlock();
    const std::string why = service_(refusal.tid, kRealtimePriority);
    if (why.empty()) {
      Remember(refusal.tid);
    } else {
      Report(refusal.why + "; " + why);
    }
    lock.lock();
  }
}

void RealtimeThreads::Report(const std::string& why) {
  {
    std::lock_guard lock(mutex_);
    if (std::exchange(reported_, true)) return;
  }
  Trace("real-time scheduling not granted (" + why + "); the keying runs at ordinary priority");
}

}  // namespace vantrel::platform
