#pragma once

#include <string>
#include <utility>
#include <vector>

#include "operating/keyer_port.h"
#include "operating/speed_report.h"

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

  std::vector<std::string> TakeCalls() { return std::exchange(calls, {}); }

  unsigned firmware = 23;
  unsigned speed = 20;
  std::string sent;
  std::vector<std::string> calls;
};

}  // namespace vantrel::operating
