#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "golden.h"
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
    return devices_.emplace_back(device);
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

  std::unique_ptr<platform::HidDevice> Open(const std::string& path) override {
    std::lock_guard lock(mutex_);
    for (const auto& d : devices_) {
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
  std::vector<std::shared_ptr<Device>> devices_;
};

// Product strings whose digits at positions 13 and 15 give the firmware version.
inline std::u16string ProductFor(unsigned version) {
  std::u16string product = u"HALVIX KEYER 0.0";
  product[13] = static_cast<char16_t>(u'0' + version / 10);
  product[15] = static_cast<char16_t>(u'0' + version % 10);
  return product;
}

using vantrel::testing::Golden;
using vantrel::testing::Split;

using Reports = std::vector<std::vector<std::uint8_t>>;

// "00 05 A8" → bytes.
inline std::vector<std::uint8_t> Hex(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::uint8_t> bytes;
  unsigned value = 0;
  while (in >> std::hex >> value) bytes.push_back(static_cast<std::uint8_t>(value));
  return bytes;
}

inline std::vector<std::uint8_t> Report9(const std::string& text) {
  auto bytes = Hex(text);
  bytes.resize(9, 0);
  return bytes;
}

template <typename Pred>
bool WaitUntil(Pred pred) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!pred()) {
    if (std::chrono::steady_clock::now() > limit) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// "STATUS 15 6, UP 6 0": each message by name with its two parameters.
inline std::string Messages(const std::vector<platform::PostedMessage>& posted) {
  static const char* const kNames[] = {"DECODED", "DONE", "SPEED", "STATUS", "PADDLE", "INPUT",
                                       "UP",      "DOWN", "RESET", "CHAR",   "WORD"};
  std::string text;
  for (const auto& m : posted) {
    text += (text.empty() ? "" : ", ") + std::string(kNames[m.message - WM_KEYER_DECODED]) + " " +
            std::to_string(m.wParam) + " " + std::to_string(m.lParam);
  }
  return text;
}

// An engine wired to a fake bus, the manual clock and recorders. Version 0 attaches nothing;
// `setup` may add or change interfaces before the engine opens one.
struct EngineRig {
  FakeHidBus bus;
  platform::ManualTimerService timers;
  platform::NullToneOutput tone;
  platform::RecordingKeyInjector keys;
  platform::RecordingWindow window;
  std::shared_ptr<FakeHidBus::Device> hid;
  std::vector<std::shared_ptr<FakeHidBus::Device>> others;
  std::unique_ptr<CCwDevice> device;

  explicit EngineRig(unsigned version, const std::function<void(EngineRig&)>& setup = {}) {
    if (version != 0) hid = bus.Add("hid:0", ProductFor(version), u"JA1XYZ");
    if (setup) setup(*this);
    device = std::make_unique<CCwDevice>(
        CwDeviceServices{bus, timers, tone, keys, "/nonexistent/Vantrel.tbl", 10});
    device->SetTargetWindow(&window);
  }
  ~EngineRig() { device.reset(); }

  std::vector<std::vector<std::uint8_t>> TakeWrites() {
    return hid ? bus.TakeWrites(hid) : std::vector<std::vector<std::uint8_t>>{};
  }

  // Queues input reports and waits until the reader has handled them all.
  void Feed(const std::vector<std::vector<std::uint8_t>>& reports) {
    for (const auto& report : reports) bus.Queue(hid, report);
    bus.WaitDrained(hid);
  }
};

// Runs "SetSpeed 25; SendText CQ" on the engine and returns the sum of the results.
inline int Act(CCwDevice& d, const std::string& script) {
  using Setter = std::function<int(CCwDevice&, const std::string&)>;
  auto u = [](const std::string& a) { return static_cast<unsigned>(std::stoul(a)); };
  auto f = [](const std::string& a) { return std::stof(a); };
  auto b = [](const std::string& a) { return a == "1"; };
  static const std::map<std::string, Setter> setters = {
      {"SetSpeed", [=](auto& d, auto& a) { return d.SetSpeed(u(a)); }},
      {"SetDotWeight", [=](auto& d, auto& a) { return d.SetDotWeight(f(a)); }},
      {"SetDashWeight", [=](auto& d, auto& a) { return d.SetDashWeight(f(a)); }},
      {"SetPttDelayBefore", [=](auto& d, auto& a) { return d.SetPttDelayBefore(u(a)); }},
      {"SetPttDelayAfter", [=](auto& d, auto& a) { return d.SetPttDelayAfter(u(a)); }},
      {"SetCharInterval", [=](auto& d, auto& a) { return d.SetCharInterval(f(a)); }},
      {"SetWordInterval", [=](auto& d, auto& a) { return d.SetWordInterval(f(a)); }},
      {"SendText", [](auto& d, auto& a) { return d.SendText(a); }},
      {"SetPttControl", [=](auto& d, auto& a) { return d.SetPttControl(b(a)), 0; }},
      {"SetPaddleReverse", [=](auto& d, auto& a) { return d.SetPaddleReverse(b(a)), 0; }},
      {"SetSidetoneIndex", [=](auto& d, auto& a) { return d.SetSidetoneIndex(u(a)), 0; }},
      {"SendSidetoneIndex", [=](auto& d, auto& a) { return d.SendSidetoneIndex(u(a)), 0; }},
      {"SetPttHold", [=](auto& d, auto& a) { return d.SetPttHold(b(a)), 0; }},
      {"SetDecodeEnabled", [=](auto& d, auto& a) { return d.SetDecodeEnabled(b(a)), 0; }},
      {"SetPcSidetone", [=](auto& d, auto& a) { return d.SetPcSidetone(b(a)), 0; }},
      {"SetPcSidetoneFreq", [=](auto& d, auto& a) { return d.SetPcSidetoneFreq(u(a)), 0; }},
      {"StopSending", [](auto& d, auto&) { return d.StopSending(), 0; }},
      {"ClearBuffer", [](auto& d, auto&) { return d.ClearBuffer(), 0; }},
  };
  int sum = 0;
  std::istringstream in(script);
  for (std::string step; std::getline(in, step, ';');) {
    step.erase(0, std::min(step.find_first_not_of(' '), step.size()));
    const auto space = std::min(step.find(' '), step.size());
    sum += setters.at(step.substr(0, space))(d, step.substr(std::min(space + 1, step.size())));
  }
  return sum;
}

}  // namespace vantrel::keyer::testing
