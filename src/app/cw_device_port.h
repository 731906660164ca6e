#pragma once

#include "keyer/cw_device.h"
#include "operating/keyer_port.h"

namespace vantrel::app {

// The operating logic's way to the real engine.
class CwDevicePort final : public operating::KeyerPort {
 public:
  explicit CwDevicePort(keyer::CCwDevice& device) : device_(device) {}

  void SendText(std::string text) override;
  void StopSending() override;
  void ClearBuffer() override;
  bool HasCode(char character) const override;
  int SetSpeed(unsigned wpm) override;
  unsigned GetSpeed() const override;
  void SetPttHold(bool on) override;
  unsigned FirmwareVersion() const override;

  void SetKeyingSettings(const settings::Settings& settings) override;
  void SetDotWeight(float weight) override;
  void SetDashWeight(float weight) override;
  void SetPttDelayBefore(unsigned ms) override;
  void SetPcSidetone(bool on) override;
  void SetPcSidetoneFreq(unsigned hz) override;
  void SetDecodeEnabled(bool on) override;
  bool KanaMode() const override;
  void SetTargetWindow(platform::TargetWindow* window) override;

 private:
  keyer::CCwDevice& device_;
};

}  // namespace vantrel::app
