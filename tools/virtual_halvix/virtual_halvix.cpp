#include "virtual_halvix.h"

#include <algorithm>
#include <vector>

namespace vantrel::tools {
namespace {

constexpr int kReadTimeoutMs = 20;
constexpr auto kReplugPoll = std::chrono::milliseconds(2);

UhidIdentity IdentityOf(const VirtualHalvixConfig& config) {
  return {config.name.empty() ? ProductNameForVersion(config.sim.firmwareVersion) : config.name,
          config.vendorId, config.productId, HalvixReportDescriptor(config.shape)};
}

}  // namespace

VirtualHalvix::VirtualHalvix(platform::TimerService& timers, const VirtualHalvixConfig& config)
    : shape_(config.shape),
      device_(std::make_shared<sim::SimInterface>(timers, "uhid", config.sim)),
      link_(IdentityOf(config),
            [this](const std::uint8_t* data, std::size_t length) { Receive(data, length); }) {
  pump_ = std::thread([this] { Pump(); });
}

VirtualHalvix::~VirtualHalvix() {
  running_ = false;
  pump_.join();
  link_.Destroy();
}

bool VirtualHalvix::WaitSettled(std::chrono::milliseconds limit) const {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (present_ != device_->IsPlugged()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(kReplugPoll);
  }
  return true;
}

void VirtualHalvix::Pump() {
  while (running_) {
    const auto generation = device_->Reports().OpenHandle();
    if (!generation) {
      std::this_thread::sleep_for(kReplugPoll);
      continue;
    }
    generation_ = *generation;
    present_ = link_.Create();
    Forward(*generation);
    link_.Destroy();
    present_ = false;
  }
}

// Carries the model's input reports to the kernel until the model is unplugged.
void VirtualHalvix::Forward(sim::ReportQueue::Generation generation) {
  bool reading = false;
  sim::Report report{};
  std::vector<std::uint8_t> frame;
  while (running_) {
    const int count =
        device_->Reports().Read(generation, reading, report.data(), report.size(), kReadTimeoutMs);
    if (count < 0) break;
    if (count == 0) continue;
    frame.clear();
    if (shape_.reportId != 0) frame.push_back(shape_.reportId);
    frame.insert(frame.end(), report.begin() + 1, report.end());
    frame.resize((shape_.reportId != 0 ? 1 : 0) + std::max<std::size_t>(shape_.bytes, 8));
    link_.Input(frame.data(), frame.size());
  }
  device_->Reports().CloseHandle(generation, reading);
}

// The kernel hands over what the host wrote, report-id byte first; the model reads the nine
// bytes of a command report from it.
void VirtualHalvix::Receive(const std::uint8_t* data, std::size_t length) {
  device_->Receive(generation_, data, length);
}

}  // namespace vantrel::tools
