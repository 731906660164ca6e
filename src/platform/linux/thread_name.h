#pragma once

#include <sys/prctl.h>

namespace vantrel::platform {

// Names the calling thread for top, perf and /proc (at most 15 characters are kept).
inline void NameThisThread(const char* name) {
  prctl(PR_SET_NAME, name, 0UL, 0UL, 0UL);
}

}  // namespace vantrel::platform
