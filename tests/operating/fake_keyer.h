#pragma once

#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "operating/keyer_port.h"
#include "operating/speed.h"

namespace vantrel::operating {

// Records every engine call as one line, e.g. "SendText A" or "SetSpeed 21".
class FakeKeyer final : public KeyerPort {
 public:
  void SendText(std::string text) override {
    sent += text;
    calls.push_back("SendText " + text);
  }
  void StopSending() override { calls.push_back("StopSending"); }
  void ClearBuffer() override { calls.push_back("ClearBuffer"); }
  int SetSpeed(unsigned wpm) override {
    calls.push_back("SetSpeed " + std::to_string(wpm));
    if (!IsKeyingSpeed(wpm)) return -1;
    speed = wpm;
    return 0;
  }
  unsigned GetSpeed() const override { return speed; }
  void SetPttHold(bool on) override { calls.push_back(on ? "SetPttHold 1" : "SetPttHold 0"); }
  unsigned FirmwareVersion() const override { return firmware; }
  void SetKeyingSettings(const settings::Settings&) override {
    calls.push_back("SetKeyingSettings");
    ++keyingSettingsGiven;
    if (onKeyingSettings) onKeyingSettings();
  }
  void SetDotWeight(float weight) override { calls.push_back("SetDotWeight " + Text(weight)); }
  void SetDashWeight(float weight) override { calls.push_back("SetDashWeight " + Text(weight)); }
  void SetPttDelayBefore(unsigned ms) override {
    calls.push_back("SetPttDelayBefore " + std::to_string(ms));
  }
  void SetPcSidetone(bool on) override {
    calls.push_back(on ? "SetPcSidetone 1" : "SetPcSidetone 0");
  }
  void SetPcSidetoneFreq(unsigned hz) override {
    calls.push_back("SetPcSidetoneFreq " + std::to_string(hz));
  }
  void SetDecodeEnabled(bool on) override { calls.push_back(on ? "SetDecode 1" : "SetDecode 0"); }
  bool KanaMode() const override { return false; }
  void SetTargetWindow(platform::TargetWindow*) override {}

  static std::string Text(float value) {
    std::ostringstream out;
    out << value;
    return out.str();
  }
  std::vector<std::string> TakeCalls() { return std::exchange(calls, {}); }

  unsigned firmware = 23;
  unsigned speed = 20;
  std::string sent;
  std::vector<std::string> calls;
  int keyingSettingsGiven = 0;
  std::function<void()> onKeyingSettings;
};

}  // namespace vantrel::operating
