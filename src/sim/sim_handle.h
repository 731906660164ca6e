#pragma once

#include <memory>

#include "platform/hid.h"
#include "sim/report_queue.h"
#include "sim/sim_interface.h"

namespace vantrel::sim {

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

}  // namespace vantrel::sim
