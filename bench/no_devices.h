#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/hid.h"

namespace vantrel::bench {

// A bus with nothing attached, for the engine keying on its own.
class NoDevices final : public platform::HidBus {
 public:
  std::vector<platform::HidDeviceInfo> Enumerate() override { return {}; }
  std::unique_ptr<platform::HidDevice> Open(const std::string&) override { return nullptr; }
};

}  // namespace vantrel::bench
