#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "keyer/code_encoder.h"
#include "keyer/code_table.h"
#include "keyer/device_link.h"
#include "keyer/firmware_profile.h"
#include "keyer/keyer_params.h"
#include "keyer/line_output.h"
#include "keyer/paddle_decoder.h"
#include "keyer/pc_keyer.h"
#include "keyer/protocol.h"
#include "platform/hid.h"
#include "platform/key_injector.h"
#include "platform/realtime.h"
#include "platform/sound.h"
#include "platform/target_window.h"
#include "platform/timer.h"

namespace vantrel::keyer {

// What the engine needs from the machine. Everything must outlive the engine.
struct CwDeviceServices {
  platform::HidBus& bus;
  platform::TimerService& timers;
  platform::ToneOutput& tone;
  platform::KeyInjector& keys;
  std::string tablePath = kTableFileName;
  // How long one read may block before the reader looks at its stop flag again.
  int readTimeoutMs = 50;
  // Asked for real-time scheduling by each reader thread as it starts; none: ordinary threads.
  platform::RealtimeRequest* realtime = nullptr;
};

// The keyer engine, front of the parts that own the state: the link to the interface with its
// reader (DeviceLink), the output lines (LineOutput), the paddle decoding (PaddleDecoder) and
// the PC-timed keying with the PC sidetone (PcKeyer). The engine keeps the settings and the
// speed switch's last position. Every public operation, every input report and every timer
// expiry runs under its one mutex, so each acts as a unit towards the others.
class CCwDevice final : private InputReportSink {
 public:
  explicit CCwDevice(CwDeviceServices services);
  ~CCwDevice();
  CCwDevice(const CCwDevice&) = delete;
  CCwDevice& operator=(const CCwDevice&) = delete;

  void SetTargetWindow(platform::TargetWindow* window);
  // Told every new value of the output lines as the PC-timed keying sets it; for measuring.
  void SetLinesObserver(std::function<void(std::uint8_t lines)> observer);

  // Sending.
  int SendText(std::string text);
  void StopSending();
  // Whether `character` has a code byte to send to firmware 20 and later (the space and the
  // prosign mark included).
  bool HasCode(char character) const;
  // Drops what the interface still holds of the codes it was sent.
  void ClearBuffer();

  // Settings; the ranged ones return 0, or -1 and store nothing.
  int SetSpeed(unsigned wpm);
  unsigned GetSpeed() const;
  int SetDotWeight(float weight);
  int SetDashWeight(float weight);
  int SetPttDelayBefore(unsigned ms);
  int SetPttDelayAfter(unsigned ms);
  int SetCharInterval(float interval);
  int SetWordInterval(float interval);
  void SetPttControl(bool on);
  void SetPaddleReverse(bool on);
  void SetSidetoneIndex(unsigned index);
  void SendSidetoneIndex(unsigned index);
  void SetPttHold(bool on);
  void SetDecodeEnabled(bool on);
  void SetPcSidetone(bool on);
  void SetPcSidetoneFreq(unsigned hz);

  // State for the window and for tests.
  unsigned FirmwareVersion() const;
  bool LinkOpen() const;
  bool KanaMode() const;
  std::uint8_t OutputLines() const;
  KeyingState GetKeyingState() const;
  PttState GetPttState() const;
  PaddleMemory GetPaddleMemory() const;
  std::string ElementString() const;
  ModeFlagBytes ModeFlags() const;
  unsigned DotLength() const;
  std::size_t ReaderThreadCount() const;

 private:
  // Input reports.
  void OnReaderStart() override;
  void OnInputReport(const InputReport& report) override;
  void HandleStatusBytes(const InputReport& report);
  void HandlePaddleInput(std::uint8_t lines);
  void AnswerReport();

  // Sending.
  void SendCommand(const CommandReport& report);
  void SendCodes(std::string_view text);
  void StopSendingLocked();
  void Post(unsigned message, std::intptr_t wParam = 0, std::intptr_t lParam = 0);

  // Settings commands.
  void SetPtt(bool on);
  void SendKeyerParams(std::uint8_t sidetoneByte);
  void SendPttDelays();
  void SendModeFlags();
  void SendSwitch(const CommandReport& ownCommand);

  CwDeviceServices services_;
  mutable std::mutex mutex_;
  DeviceLink link_;
  // The profile the link read when the interface opened.
  const FirmwareProfile& firmware_ = link_.Firmware();
  platform::TargetWindow* targetWindow_ = nullptr;

  // Settings. The mode flag bytes, as set here or as the interface last reported them, hold
  // paddle reversal.
  KeyerParams params_;
  ModeFlagBytes modeFlags_ = kInitialModeFlags;

  // Text encoding.
  CodeTable codeTable_;
  CodeEncoder encoder_;

  // What the input reports of the open interface left behind.
  PaddleDecoder decoder_{services_.keys};
  std::optional<SpeedSwitch> lastSpeedSwitch_;

  LineOutput lines_;
  PcKeyer keyer_;
};

}  // namespace vantrel::keyer
