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

  // What the window and the network keyer set beside the operating logic.
  void SetDotWeight(float weight);
  void SetDashWeight(float weight);
  void SetPttDelayBefore(unsigned ms);
  void SetPcSidetone(bool on);
  void SetPcSidetoneFreq(unsigned hz);
  void SetDecodeEnabled(bool on);
  // Paddle decoding reads Japanese (Wabun) Morse.
  bool KanaMode() const;
  // Where the engine posts its notifications.
  void SetTargetWindow(platform::TargetWindow* window);

 private:
  keyer::CCwDevice& device_;
};

}  // namespace vantrel::app
