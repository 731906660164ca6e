#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "keyer/cw_device.h"
#include "keyer/keyer_messages.h"
#include "keyer/protocol.h"
#include "platform/hid.h"
#include "support/manual_timer.h"
#include "support/test_doubles.h"

namespace vantrel::keyer::testing {

// A scriptable HID bus for engine unit tests: devices with chosen ids, strings and report
// lengths, a record of every write, and input reports queued by the test.
class FakeHidBus final : public platform::HidBus {
 public:
  struct Device {
    std::string path{};
    std::uint16_t vendorId = 0x0BFE;
    std::uint16_t productId = 0x0E00;
    std::u16string product{};
    std::u16string manufacturer{};
    std::size_t inputLength = 9;
    std::size_t outputLength = 9;
    bool present = true;
    bool failWrites = false;
    int opens = 0;
    std::vector<std::vector<std::uint8_t>> writes{};
    std::deque<std::vector<std::uint8_t>> reports{};
  };

  // Changes a device under the bus's lock and wakes its reader.
  template <typename F>
  void Change(const std::shared_ptr<Device>& device, F&& change) {
    {
      std::lock_guard lock(mutex_);
      change(*device);
    }
    cv_.notify_all();
  }

  // Queues input reports and waits until the reader has handled them all.
  bool Feed(const std::shared_ptr<Device>& device,
            const std::vector<std::vector<std::uint8_t>>& reports) {
    Change(device,
           [&](Device& d) { d.reports.insert(d.reports.end(), reports.begin(), reports.end()); });
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, std::chrono::seconds(5),
                        [&] { return device->reports.empty() && readers_waiting_ > 0; });
  }

  std::vector<platform::HidDeviceInfo> Enumerate() override {
    std::lock_guard lock(mutex_);
    std::vector<platform::HidDeviceInfo> list;
    for (const auto& d : devices) {
      if (d->present) list.push_back({d->path, d->vendorId, d->productId});
    }
    return list;
  }

  std::unique_ptr<platform::HidDevice> Open(const std::string& path) override {
    std::lock_guard lock(mutex_);
    for (const auto& d : devices) {
      if (d->path == path && d->present) return ++d->opens, std::make_unique<Handle>(*this, d);
    }
    return nullptr;
  }

 private:
  class Handle final : public platform::HidDevice {
   public:
    Handle(FakeHidBus& bus, std::shared_ptr<Device> device) : bus_(bus), d_(std::move(device)) {}
    std::size_t InputReportLength() const override { return d_->inputLength; }
    std::size_t OutputReportLength() const override { return d_->outputLength; }
    std::u16string ProductString() override { return d_->product; }
    std::u16string ManufacturerString() override { return d_->manufacturer; }

    bool Write(const std::uint8_t* data, std::size_t length) override {
      std::lock_guard lock(bus_.mutex_);
      if (!d_->present || d_->failWrites) return false;
      d_->writes.emplace_back(data, data + length);
      return true;
    }

    int Read(std::uint8_t* buf, std::size_t capacity, int timeoutMs) override {
      std::unique_lock lock(bus_.mutex_);
      ++bus_.readers_waiting_;
      bus_.cv_.notify_all();
      const bool ready = bus_.cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                           [&] { return !d_->present || !d_->reports.empty(); });
      --bus_.readers_waiting_;
      if (!d_->present) return -1;
      if (!ready) return 0;
      const auto report = std::move(d_->reports.front());
      d_->reports.pop_front();
      const std::size_t count = std::min(capacity, report.size());
      std::copy_n(report.begin(), count, buf);
      return static_cast<int>(count);
    }

   private:
    FakeHidBus& bus_;
    std::shared_ptr<Device> d_;
  };

  std::mutex mutex_;
  std::condition_variable cv_;
  int readers_waiting_ = 0;

 public:
  // Attached before the engine opens one, so without the lock.
  std::vector<std::shared_ptr<Device>> devices;
};

// An engine wired to a fake bus, the manual clock and recorders. Version 0 attaches nothing;
// `setup` may add or change interfaces before the engine opens one.
struct EngineRig {
  FakeHidBus bus;
  platform::ManualTimerService timers;
  platform::NullToneOutput tone;
  platform::RecordingKeyInjector keys;
  platform::RecordingWindow window;
  std::shared_ptr<FakeHidBus::Device> hid;
  std::unique_ptr<CCwDevice> device;

  explicit EngineRig(unsigned version, const std::function<void(EngineRig&)>& setup = {}) {
    // The digits at positions 13 and 15 of the product string give the firmware version.
    const auto product =
        "HALVIX KEYER " + std::to_string(version / 10) + "." + std::to_string(version % 10);
    if (version != 0) {
      hid = std::make_shared<FakeHidBus::Device>(FakeHidBus::Device{
          .path = "hid:0", .product = {product.begin(), product.end()}, .manufacturer = u"JA1XYZ"});
      bus.devices.push_back(hid);
    }
    if (setup) setup(*this);
    device = std::make_unique<CCwDevice>(
        CwDeviceServices{bus, timers, tone, keys, "/nonexistent/Vantrel.tbl", 10});
    device->SetTargetWindow(&window);
  }

  std::vector<std::vector<std::uint8_t>> TakeWrites() {
    std::vector<std::vector<std::uint8_t>> writes;
    if (hid) bus.Change(hid, [&](auto& d) { writes = std::exchange(d.writes, {}); });
    return writes;
  }
};

}  // namespace vantrel::keyer::testing
