#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "keyer/code_encoder.h"
#include "keyer/code_table.h"
#include "keyer/firmware_profile.h"
#include "keyer/keyer_params.h"
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

// The interface's firmware as 10 * major + minor, read from digits at positions 13 and 15 of
// the product string; a manufacturer beginning with 'J' marks the oldest (PC-timed) firmware.
unsigned FirmwareVersionFromStrings(const std::u16string& product,
                                    const std::u16string& manufacturer);

inline constexpr std::size_t kInputBufferSize = 32;
inline constexpr std::size_t kMaxOutputReportLength = 64;

// The keyer engine: owns the link to the interface, its reader thread, the PC-timed keying
// and the PC sidetone. Every public operation, every input report and every timer expiry
// runs under one mutex, so each acts as a unit towards the others.
class CCwDevice {
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
  void ClearBuffer();

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
  struct ReaderContext;

  // Device link.
  bool OpenDevice();
  bool TryOpen(const platform::HidDeviceInfo& info);
  void SendCommand(const CommandReport& report);
  void WriteReport(const CommandReport& report);

  // Reader thread and input reports.
  void StartReader();
  void RetireReader();
  void JoinRetiredReaders(std::unique_lock<std::mutex>& lock);
  void ReaderLoop(std::shared_ptr<ReaderContext> context);
  bool ReaderShouldRun(const ReaderContext& context) const;
  void OnReadFailure(ReaderContext& context);
  void HandleReport(const InputReport& report);
  void HandleStatusBytes(const InputReport& report);
  void DecodePaddle(std::int8_t counter, std::uint8_t code);
  void InjectKeystrokes(std::uint8_t code);
  void HandlePaddleInput(std::uint8_t lines);
  void AnswerReport();

  // Sending.
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

  // Link.
  FirmwareProfile firmware_;
  bool linkOpen_ = false;
  bool readerRunning_ = true;
  std::unique_ptr<platform::HidDevice> writeHandle_;
  std::shared_ptr<platform::HidDevice> readHandle_;
  std::size_t inputReportLength_ = 0;
  std::size_t outputReportLength_ = 0;
  std::shared_ptr<ReaderContext> reader_;
  std::vector<std::shared_ptr<ReaderContext>> retiredReaders_;
  platform::TargetWindow* targetWindow_ = nullptr;

  // Settings.
  KeyerParams params_;
  bool paddleReverse_ = true;
  ModeFlagBytes modeFlags_ = kInitialModeFlags;
  bool decodeEnabled_ = false;

  // Text encoding.
  CodeTable codeTable_;
  CodeEncoder encoder_;

  // Reader state.
  bool kanaMode_ = false;
  int lastDecodeCounter_ = -1;
  std::optional<SpeedSwitch> lastSpeedSwitch_;
  std::uint8_t lastOutputLinesWritten_ = 0;

  PcKeyer keyer_;
};

}  // namespace vantrel::keyer
