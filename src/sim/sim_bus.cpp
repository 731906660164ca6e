#include "sim/sim_bus.h"

#include <algorithm>

#include "sim/report_queue.h"

namespace vantrel::sim {
namespace {

// One open handle to a simulated interface. Every handle shares the one device; after an
// unplug the handle fails for good, even once the device is plugged back.
class SimHandle final : public platform::HidDevice {
 public:
  SimHandle(std::shared_ptr<SimInterface> device, ReportQueue::Generation generation)
      : device_(std::move(device)), generation_(generation) {}
  ~SimHandle() override;
  SimHandle(const SimHandle&) = delete;
  SimHandle& operator=(const SimHandle&) = delete;

  std::size_t InputReportLength() const override { return kReportLength; }
  std::size_t OutputReportLength() const override { return kReportLength; }
  std::u16string ProductString() override;
  std::u16string ManufacturerString() override;
  bool Write(const std::uint8_t* data, std::size_t length) override;
  int Read(std::uint8_t* buf, std::size_t capacity, int timeoutMs) override;

 private:
  std::shared_ptr<SimInterface> device_;
  const ReportQueue::Generation generation_;
  bool reading_ = false;
};

SimHandle::~SimHandle() {
  device_->Reports().CloseHandle(generation_, reading_);
}

std::u16string SimHandle::ProductString() {
  return device_->Reports().IsLive(generation_) ? device_->Strings().product : u"";
}

std::u16string SimHandle::ManufacturerString() {
  return device_->Reports().IsLive(generation_) ? device_->Strings().manufacturer : u"";
}

bool SimHandle::Write(const std::uint8_t* data, std::size_t length) {
  return device_->Receive(generation_, data, length);
}

int SimHandle::Read(std::uint8_t* buf, std::size_t capacity, int timeoutMs) {
  return device_->Reports().Read(generation_, reading_, buf, capacity, timeoutMs);
}

}  // namespace

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
