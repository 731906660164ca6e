#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "halvix_descriptor.h"
#include "keyer/protocol.h"
#include "platform/timer.h"
#include "sim/sim_interface.h"
#include "uhid_link.h"

namespace vantrel::tools {

struct VirtualHalvixConfig {
  sim::SimConfig sim;
  // Empty: the product string that yields the simulated firmware version.
  std::string name;
  ReportShape shape;
  std::uint16_t vendorId = keyer::kHalvixVendorId;
  std::uint16_t productId = keyer::kHalvixProductId;
};

// The simulated interface's device model on the kernel's HID bus through /dev/uhid. The device
// exists while the model is plugged in: an unplug of the model destroys it, a plug creates it
// again. The timer service must outlive it.
class VirtualHalvix {
 public:
  // Throws std::runtime_error when /dev/uhid cannot be used.
  VirtualHalvix(platform::TimerService& timers, const VirtualHalvixConfig& config);
  ~VirtualHalvix();
  VirtualHalvix(const VirtualHalvix&) = delete;
  VirtualHalvix& operator=(const VirtualHalvix&) = delete;

  sim::SimInterface& Device() { return *device_; }
  // True once the kernel device matches the model's plugged state, false when `limit` passed.
  bool WaitSettled(std::chrono::milliseconds limit) const;

 private:
  void Pump();
  void Forward(sim::ReportQueue::Generation generation);
  void Receive(const std::uint8_t* data, std::size_t length);

  const ReportShape shape_;
  std::shared_ptr<sim::SimInterface> device_;
  UhidLink link_;
  std::atomic<sim::ReportQueue::Generation> generation_ = 0;
  std::atomic<bool> present_ = false;
  std::atomic<bool> running_ = true;
  std::thread pump_;
};

}  // namespace vantrel::tools
