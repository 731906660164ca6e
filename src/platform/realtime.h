#pragma once

#include <sys/types.h>
#include <unistd.h>

namespace vantrel::platform {

// A kernel thread id, as gettid() gives it and the scheduler's calls take it.
using ThreadId = pid_t;

inline ThreadId CurrentThreadId() {
  return gettid();
}

// Real-time scheduling for the few threads whose wake-ups are the keying's timing (the timer
// thread and the reader), as sound servers get it for theirs. Everything else stays ordinary.
class RealtimeRequest {
 public:
  virtual ~RealtimeRequest() = default;
  // Asks for real-time scheduling of `tid`, a thread of this process. Returns promptly
  // whatever the answer; a thread that is refused runs on as an ordinary one.
  virtual void MakeThreadRealtime(ThreadId tid) = 0;
};

}  // namespace vantrel::platform
