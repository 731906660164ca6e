#pragma once

#include <string>

#include "platform/realtime.h"

namespace vantrel::platform {

// Asks RealtimeKit, the desktop's real-time service on the system bus, to make `tid` real-time
// at `priority` (at most what it hands out). It requires RLIMIT_RTTIME set first and answers
// with its own policy (SCHED_RR). Blocks for at most about a second; "" when granted, else why
// not. Needs the QCoreApplication; call it off the window's thread.
std::string AskRealtimeKit(ThreadId tid, int priority);

}  // namespace vantrel::platform
