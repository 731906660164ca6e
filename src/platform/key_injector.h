#pragma once

namespace vantrel::platform {

enum VirtualKey : int { kVkBack = 8, kVkMenu = 18, kVkKana = 21, kVkEscape = 27 };

// Synthesises key presses and releases for whatever control has the keyboard focus.
class KeyInjector {
 public:
  virtual ~KeyInjector() = default;
  virtual void Key(int virtualKey, bool down) = 0;
};

}  // namespace vantrel::platform
