#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/hid.h"
#include "platform/timer.h"
#include "sim/sim_interface.h"

namespace vantrel::sim {

// A HID bus holding simulated interfaces, enumerated in the order they were attached, with
// the paths "sim:0", "sim:1" and so on.
class SimBus final : public platform::HidBus {
 public:
  SimInterface& Attach(platform::TimerService& timers, SimConfig config = {});
  SimInterface& Interface(std::size_t index) const;
  std::size_t InterfaceCount() const;

  std::vector<platform::HidDeviceInfo> Enumerate() override;
  std::unique_ptr<platform::HidDevice> Open(const std::string& path) override;

  // Every interface's reports read and its reader waiting again, within `limit` in all.
  bool WaitUntilDrained(std::chrono::milliseconds limit);

 private:
  std::vector<std::shared_ptr<SimInterface>> Snapshot() const;

  mutable std::mutex mutex_;
  std::vector<std::shared_ptr<SimInterface>> interfaces_;
};

}  // namespace vantrel::sim
