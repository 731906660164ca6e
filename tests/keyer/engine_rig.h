#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "fake_hid.h"
#include "golden.h"
#include "keyer/cw_device.h"
#include "keyer/keyer_messages.h"
#include "support/manual_timer.h"
#include "support/test_doubles.h"

namespace vantrel::keyer::testing {

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
