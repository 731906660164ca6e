#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "keyer/code_encoder.h"
#include "keyer/code_table.h"
#include "keyer/protocol.h"
#include "platform/hid.h"
#include "platform/key_injector.h"
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
  std::string tablePath = "Vantrel.tbl";
  // How long one read may block before the reader looks at its stop flag again.
  int readTimeoutMs = 50;
};

enum class KeyingState {
  Dot = 0,
  Dash = 1,
  ElementSpace = 2,
  CharSpace = 3,
  WordSpace = 4,
  Idle = 5
};
enum class PttState { LeadIn = 0, Tail = 1, On = 2, Off = 3 };
enum class PaddleState { Dot = 0, Dash = 1, Both = 2, None = 3 };
enum class PaddleMemory { Dot = 0, Dash = 1, Empty = 2 };

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
  std::array<std::uint8_t, 3> ModeFlags() const;
  unsigned DotLength() const;
  std::size_t ReaderThreadCount() const;

 private:
  struct ReaderContext;

  // Device link.
  bool OpenDevice();
  bool TryOpen(const platform::HidDeviceInfo& info);
  void SendCommand(const CommandReport& report);
  void WriteReport(const CommandReport& report);
  void StartReader();
  void RetireReader();
  void JoinRetiredReaders(std::unique_lock<std::mutex>& lock);
  void ReaderLoop(std::shared_ptr<ReaderContext> context);
  bool ReaderShouldRun(const ReaderContext& context) const;
  void OnReadFailure(ReaderContext& context);

  // Input reports.
  void HandleReport(const std::uint8_t* report);
  void HandleStatusBytes(const std::uint8_t* report);
  void DecodePaddle(std::int8_t counter, std::uint8_t code);
  void InjectKeystrokes(std::uint8_t code);
  void HandlePaddleInput(const std::uint8_t* report);
  void AnswerReport();

  // Sending and protocol.
  void SendCodes(std::string_view text);
  void StopSendingLocked();
  void SendKeyerParams(std::uint8_t sidetoneByte);
  void SendPttDelays();
  void SendModeFlags();
  void Post(unsigned message, std::intptr_t wParam = 0, std::intptr_t lParam = 0);

  // PC-timed keying.
  void StartDot();
  void StartDash();
  void StartElement(unsigned duration, bool keyDown);
  void AdvanceElements();
  void OnElementEnd();
  void OnSpaceEnd();
  void SetKey(bool down);
  void SetOutputLines(std::uint8_t lines);
  void SetPtt(bool on);
  void RunPtt(bool on);
  using TimerProc = void (CCwDevice::*)();
  platform::TimerService::TimerId Arm(unsigned durationMs, TimerProc proc, bool elementSlot);
  void OnTimer(platform::TimerService::TimerId id, platform::Micros deadline, TimerProc proc,
               bool elementSlot);
  void CancelTimer(platform::TimerService::TimerId& slot);
  void ElementEndProc();
  void SpaceEndProc();
  void LeadInEndProc();
  void TailEndProc();
  void MarkStepStart();
  void OpenSidetone();
  void CloseSidetone();

  CwDeviceServices services_;
  mutable std::mutex mutex_;

  // Link.
  unsigned firmwareVersion_ = 0;
  bool linkOpen_ = false;
  bool readerRunning_ = true;
  std::unique_ptr<platform::HidDevice> writeHandle_;
  std::shared_ptr<platform::HidDevice> readHandle_;
  std::size_t inputReportLength_ = 0;
  std::size_t outputReportLength_ = 0;
  std::shared_ptr<ReaderContext> reader_;
  std::vector<std::shared_ptr<ReaderContext>> retiredReaders_;
  platform::TargetWindow* targetWindow_ = nullptr;
  std::function<void(std::uint8_t lines)> linesObserver_;

  // Settings.
  unsigned wpm_ = 20;
  unsigned dotLength_ = 60;
  float dotWeight_ = 1.0f;
  float dashWeight_ = 3.0f;
  float charInterval_ = 3.0f;
  float wordInterval_ = 7.0f;
  unsigned pttDelayBefore_ = 25;
  unsigned pttDelayAfter_ = 200;
  unsigned sidetoneIndex_ = 7;
  bool pttControl_ = false;
  bool paddleReverse_ = true;
  std::array<std::uint8_t, 3> modeFlags_{0x04, 0xA0, 0x00};
  bool pttHold_ = false;
  bool decodeEnabled_ = false;
  bool pcSidetoneOn_ = false;
  unsigned pcSidetoneFreq_ = 880;
  bool sidetoneOpen_ = false;

  // Text encoding.
  CodeTable codeTable_;
  CodeEncoder encoder_;
  std::string elementString_;

  // Reader state.
  bool kanaMode_ = false;
  PaddleState paddleState_ = PaddleState::None;
  PaddleMemory paddleMemory_ = PaddleMemory::Empty;
  int lastDecodeCounter_ = -1;
  int lastSpeedSwitch_ = -1;
  std::uint8_t lastOutputLinesWritten_ = 0;
  std::uint8_t lastStatusValue_ = 0;

  // PC-timed keying.
  std::uint8_t outputLines_ = 0x0F;
  KeyingState keyingState_ = KeyingState::Idle;
  PttState pttState_ = PttState::Off;
  bool leadInPending_ = false;
  platform::TimerService::TimerId elementTimer_ = 0;
  platform::TimerService::TimerId pttTimer_ = 0;
  unsigned savedDuration_ = 0;
  // Start of the step being run: a timer's scheduled deadline, or the clock for other entries,
  // so chained timers are armed from where the previous one was due and never drift.
  platform::Micros stepStart_ = 0;
};

}  // namespace vantrel::keyer
