#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/hid.h"
#include "sim/sim_interface.h"

namespace vantrel::reliability {

// The simulated bus seen through a cable that can be pulled while a write is under way, and an
// interface that can stop answering: reads then wait out their timeout and writes vanish.
class FaultBus final : public platform::HidBus {
 public:
  FaultBus(platform::HidBus& inner, sim::SimInterface& sim) : inner_(inner), sim_(sim) {}

  // The `n`th write from now (1: the next) finds the interface unplugged as it goes out.
  void UnplugAtWrite(int n) { unplugAtWrite_ = n; }
  void SetSilent(bool silent) { silent_ = silent; }
  int Writes() const { return writes_; }

  std::vector<platform::HidDeviceInfo> Enumerate() override { return inner_.Enumerate(); }
  std::unique_ptr<platform::HidDevice> Open(const std::string& path) override {
    auto device = inner_.Open(path);
    return device ? std::make_unique<Handle>(*this, std::move(device)) : nullptr;
  }

 private:
  class Handle final : public platform::HidDevice {
   public:
    Handle(FaultBus& bus, std::unique_ptr<platform::HidDevice> inner)
        : bus_(bus), inner_(std::move(inner)) {}
    std::size_t InputReportLength() const override { return inner_->InputReportLength(); }
    std::size_t OutputReportLength() const override { return inner_->OutputReportLength(); }
    std::u16string ProductString() override { return inner_->ProductString(); }
    std::u16string ManufacturerString() override { return inner_->ManufacturerString(); }

    bool Write(const std::uint8_t* data, std::size_t length) override {
      ++bus_.writes_;
      if (bus_.unplugAtWrite_ > 0 && --bus_.unplugAtWrite_ == 0) bus_.sim_.Unplug();
      if (bus_.silent_) return true;
      return inner_->Write(data, length);
    }
    int Read(std::uint8_t* buf, std::size_t capacity, int timeoutMs) override {
      if (bus_.silent_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return 0;
      }
      return inner_->Read(buf, capacity, timeoutMs);
    }

   private:
    FaultBus& bus_;
    std::unique_ptr<platform::HidDevice> inner_;
  };

  platform::HidBus& inner_;
  sim::SimInterface& sim_;
  std::atomic<int> unplugAtWrite_ = 0;
  std::atomic<bool> silent_ = false;
  std::atomic<int> writes_ = 0;
};

}  // namespace vantrel::reliability
