#include "sim/sim_bus.h"

#include <algorithm>

#include "sim/sim_handle.h"

namespace vantrel::sim {

SimInterface& SimBus::Attach(platform::TimerService& timers, SimConfig config) {
  std::lock_guard lock(mutex_);
  const std::string path = "sim:" + std::to_string(interfaces_.size());
  return *interfaces_.emplace_back(std::make_shared<SimInterface>(timers, path, config));
}

SimInterface& SimBus::Interface(std::size_t index) const {
  std::lock_guard lock(mutex_);
  return *interfaces_.at(index);
}

std::size_t SimBus::InterfaceCount() const {
  std::lock_guard lock(mutex_);
  return interfaces_.size();
}

std::vector<platform::HidDeviceInfo> SimBus::Enumerate() {
  std::vector<platform::HidDeviceInfo> found;
  for (const auto& device : Snapshot()) {
    if (device->IsPlugged())
      found.push_back({device->Path(), keyer::kHalvixVendorId, keyer::kHalvixProductId});
  }
  return found;
}

std::unique_ptr<platform::HidDevice> SimBus::Open(const std::string& path) {
  for (const auto& device : Snapshot()) {
    if (device->Path() != path) continue;
    const auto generation = device->Reports().OpenHandle();
    if (!generation) return nullptr;
    return std::make_unique<SimHandle>(device, *generation);
  }
  return nullptr;
}

bool SimBus::WaitUntilDrained(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (const auto& device : Snapshot()) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (!device->WaitUntilDrained(std::max(left, std::chrono::milliseconds(0)))) return false;
  }
  return true;
}

std::vector<std::shared_ptr<SimInterface>> SimBus::Snapshot() const {
  std::lock_guard lock(mutex_);
  return interfaces_;
}

}  // namespace vantrel::sim
