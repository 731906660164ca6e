#pragma once

#include <cstdint>

namespace vantrel::platform {

// Where the keyer engine posts its notifications. Post never blocks.
class TargetWindow {
 public:
  virtual ~TargetWindow() = default;
  virtual void Post(unsigned message, std::intptr_t wParam, std::intptr_t lParam) = 0;
};

}  // namespace vantrel::platform
