#include "platform/diag.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace vantrel::platform {

bool TraceEnabled() {
  static const bool enabled = [] {
    const char* v = std::getenv("VANTREL_DEBUG");
    return v != nullptr && std::strcmp(v, "1") == 0;
  }();
  return enabled;
}

void Trace(std::string_view text) {
  if (!TraceEnabled()) return;
  static std::mutex mutex;
  std::lock_guard lock(mutex);
  std::fprintf(stderr, "vantrel: %.*s\n", static_cast<int>(text.size()), text.data());
}

}  // namespace vantrel::platform
