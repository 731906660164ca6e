#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "platform/realtime.h"

namespace vantrel::platform {

// Below the sound servers' real-time threads (PipeWire and JACK ask for 20 and more), so that
// audio still comes first, and above every ordinary thread.
inline constexpr int kRealtimePriority = 10;

// Makes `tid` SCHED_FIFO at `priority`, not inherited by children; "" when done, else why not.
std::string SetFifo(ThreadId tid, int priority);

// Lowers RLIMIT_RTTIME to `hardMicros` (soft: half of it) unless it is lower already, and
// installs the SIGXCPU handler that the soft limit triggers: every thread made real-time here
// drops back to ordinary scheduling. A thread still running at the hard limit gets the process
// killed by the kernel.
void LimitRealtimeRuntime(long hardMicros = 200'000);

// Real-time scheduling as sound servers on Linux desktops take it: SCHED_FIFO directly where
// the process may (root, CAP_SYS_NICE, or an RLIMIT_RTPRIO limit), otherwise from the desktop's
// service (RealtimeKit), asked on a thread of its own so that no caller waits for the answer.
// Where neither grants it, the diagnostic trace gets one line and the threads run on as
// ordinary ones. Constructing one sets the run-time limit above, which RealtimeKit requires
// (at most 200 ms unless it is configured otherwise).
class RealtimeThreads final : public RealtimeRequest {
 public:
  // Asks the service to make `tid` real-time at `priority`, within a bounded time; "" when it
  // did, else why not.
  using Service = std::function<std::string(ThreadId tid, int priority)>;

  explicit RealtimeThreads(Service service = {});
  // Waits for a question already put to the service, not for the ones still queued.
  ~RealtimeThreads() override;
  RealtimeThreads(const RealtimeThreads&) = delete;
  RealtimeThreads& operator=(const RealtimeThreads&) = delete;

  void MakeThreadRealtime(ThreadId tid) override;

 private:
  struct Refusal {
    ThreadId tid;
    std::string why;
  };

  void AskService();
  void Report(const std::string& why);

  const Service service_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Refusal> refusals_;
  bool stopping_ = false;
  bool reported_ = false;
  std::thread asker_;
};

}  // namespace vantrel::platform
