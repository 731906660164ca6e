#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "keyer/protocol.h"
#include "platform/hid.h"

namespace vantrel::keyer::testing {

// A scriptable HID bus for engine unit tests: devices with chosen ids, strings and report
// lengths, a record of every write, and input reports queued by the test.
class FakeHidBus final : public platform::HidBus {
 public:
  struct Device {
    std::string path;
    std::uint16_t vendorId = 0x0BFE;
    std::uint16_t productId = 0x0E00;
    std::u16string product;
    std::u16string manufacturer;
    std::size_t inputLength = 9;
    std::size_t outputLength = 9;
    bool present = true;
    bool failWrites = false;
    int opens = 0;
    std::vector<std::vector<std::uint8_t>> writes;
    std::deque<std::vector<std::uint8_t>> reports;
  };

  std::shared_ptr<Device> Add(std::string path, std::u16string product,
                              std::u16string manufacturer = u"") {
    auto device = std::make_shared<Device>();
    device->path = std::move(path);
    device->product = std::move(product);
    device->manufacturer = std::move(manufacturer);
    std::lock_guard lock(mutex_);
    devices_.push_back(device);
    return device;
  }

  template <typename F>
  void Change(const std::shared_ptr<Device>& device, F&& change) {
    {
      std::lock_guard lock(mutex_);
      change(*device);
    }
    cv_.notify_all();
  }

  void Queue(const std::shared_ptr<Device>& device, std::vector<std::uint8_t> report) {
    Change(device, [&](Device& d) { d.reports.push_back(std::move(report)); });
  }

  std::vector<std::vector<std::uint8_t>> Writes(const std::shared_ptr<Device>& device) {
    std::lock_guard lock(mutex_);
    return device->writes;
  }

  std::vector<std::vector<std::uint8_t>> TakeWrites(const std::shared_ptr<Device>& device) {
    std::lock_guard lock(mutex_);
    return std::exchange(device->writes, {});
  }

  bool WaitDrained(const std::shared_ptr<Device>& device) {
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, std::chrono::seconds(5),
                        [&] { return device->reports.empty() && readers_waiting_ > 0; });
  }

  std::vector<platform::HidDeviceInfo> Enumerate() override {
    std::lock_guard lock(mutex_);
    std::vector<platform::HidDeviceInfo> list;
    for (const auto& d : devices_) {
      if (d->present) list.push_back({d->path, d->vendorId, d->productId});
    }
    return list;
  }

  std::unique_ptr<platform::HidDevice> Open(const std::string& path) override;

 private:
  class Handle;
  std::mutex mutex_;
  std::condition_variable cv_;
  int readers_waiting_ = 0;
  std::vector<std::shared_ptr<Device>> devices_;
};

class FakeHidBus::Handle final : public platform::HidDevice {
 public:
  Handle(FakeHidBus& bus, std::shared_ptr<Device> device) : bus_(bus), device_(std::move(device)) {}
  std::size_t InputReportLength() const override { return device_->inputLength; }
  std::size_t OutputReportLength() const override { return device_->outputLength; }
  std::u16string ProductString() override { return device_->product; }
  std::u16string ManufacturerString() override { return device_->manufacturer; }

  bool Write(const std::uint8_t* data, std::size_t length) override {
    std::lock_guard lock(bus_.mutex_);
    if (!device_->present || device_->failWrites) return false;
    device_->writes.emplace_back(data, data + length);
    return true;
  }

  int Read(std::uint8_t* buf, std::size_t capacity, int timeoutMs) override {
    std::unique_lock lock(bus_.mutex_);
    ++bus_.readers_waiting_;
    bus_.cv_.notify_all();
    const bool ready = bus_.cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
      return !device_->present || !device_->reports.empty();
    });
    --bus_.readers_waiting_;
    if (!device_->present) return -1;
    if (!ready) return 0;
    auto report = std::move(device_->reports.front());
    device_->reports.pop_front();
    const std::size_t count = std::min(capacity, report.size());
    std::copy_n(report.begin(), count, buf);
    return static_cast<int>(count);
  }

 private:
  FakeHidBus& bus_;
  std::shared_ptr<Device> device_;
};

inline std::unique_ptr<platform::HidDevice> FakeHidBus::Open(const std::string& path) {
  std::lock_guard lock(mutex_);
  for (const auto& d : devices_) {
    if (d->path == path && d->present) {
      ++d->opens;
      return std::make_unique<Handle>(*this, d);
    }
  }
  return nullptr;
}

inline std::vector<std::uint8_t> Bytes(const CommandReport& report) {
  return {report.begin(), report.end()};
}

// Product strings whose digits at positions 13 and 15 give the firmware version.
inline std::u16string ProductFor(unsigned version) {
  std::u16string product = u"HALVIX KEYER 0.0";
  product[13] = static_cast<char16_t>(u'0' + version / 10);
  product[15] = static_cast<char16_t>(u'0' + version % 10);
  return product;
}

}  // namespace vantrel::keyer::testing
