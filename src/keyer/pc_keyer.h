#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "keyer/code_table.h"
#include "keyer/keyer_params.h"
#include "keyer/protocol.h"
#include "platform/sound.h"
#include "platform/timer.h"

namespace vantrel::keyer {

enum class KeyingState {
  Dot = 0,
  Dash = 1,
  ElementSpace = 2,
  CharSpace = 3,
  WordSpace = 4,
  Idle = 5
};
enum class PttState { LeadIn = 0, Tail = 1, On = 2, Off = 3 };
enum class PaddleMemory { Dot = 0, Dash = 1, Empty = 2 };

// Symbols of the PC-timed keying: '.' a dot, '-' a dash, ',' a character gap, '_' a word gap.
inline constexpr char kDotSymbol = '.';
inline constexpr char kDashSymbol = '-';
inline constexpr char kCharGapSymbol = ',';
inline constexpr char kWordGapSymbol = '_';

// Appends the symbols of `text`. A '~' runs the characters after it together, without gaps,
// up to the next space or the end of the text; a character without a code is dropped.
void BuildElementString(const CodeTable& table, std::string_view text, std::string& elementString);

// The key and PTT lines that the PC-timed keying drives. The engine keeps them and writes them
// to the interface in its answer to the next input report.
class KeyLines {
 public:
  virtual void SetKey(bool down) = 0;
  virtual void SetPtt(bool on) = 0;
  // Key up and PTT off.
  virtual void Release() = 0;

 protected:
  ~KeyLines() = default;
};

// What the PC-timed keying needs from the engine that owns it.
struct PcKeyerServices {
  platform::TimerService& timers;
  platform::ToneOutput& tone;
  // The engine's mutex. The engine holds it for every call into the keyer; a timer expiry
  // takes it itself before it runs its step.
  std::mutex& mutex;
  const KeyerParams& params;
  KeyLines& lines;
  std::function<void(unsigned message, std::intptr_t wParam)> post;
};

class PcKeyer {
 public:
  explicit PcKeyer(PcKeyerServices services);

  void MarkStepStart();
  void Send(const CodeTable& table, std::string_view text);
  // Releases key and PTT lines and forgets pending elements and the paddle memory.
  void Stop();
  void CancelTimers();
  // A closed paddle contact; false when the keyer is sending text and must be stopped instead.
  bool Paddle(bool dot, bool dash);
  // The PTT line; while the hold is on, it stays on.
  void SetPttLine(bool on);
  void SetPttHold(bool on);
  void OpenSidetone();
  void CloseSidetone();

  KeyingState State() const { return keyingState_; }
  PttState Ptt() const { return pttState_; }
  PaddleMemory Memory() const { return paddleMemory_; }
  const std::string& Elements() const { return elementString_; }

 private:
  using TimerProc = void (PcKeyer::*)();

  void StartDot();
  void StartDash();
  void StartElement(unsigned duration, bool keyDown);
  void AdvanceElements();
  void OnElementEnd();
  void OnSpaceEnd();
  void OnLeadInEnd();
  void OnTailEnd();
  void SetKey(bool down);
  void RunPtt(bool on);
  platform::TimerService::TimerId Arm(unsigned durationMs, TimerProc proc, bool elementSlot);
  void OnTimer(platform::TimerService::TimerId id, platform::Micros deadline, TimerProc proc,
               bool elementSlot);
  void CancelTimer(platform::TimerService::TimerId& slot);
  void PauseTone();

  PcKeyerServices services_;
  std::string elementString_;
  KeyingState keyingState_ = KeyingState::Idle;
  PttState pttState_ = PttState::Off;
  PaddleMemory paddleMemory_ = PaddleMemory::Empty;
  bool pttHold_ = false;
  bool leadInPending_ = false;
  bool sidetoneOpen_ = false;
  platform::TimerService::TimerId elementTimer_ = 0;
  platform::TimerService::TimerId pttTimer_ = 0;
  unsigned savedDuration_ = 0;
  // Start of the step being run: a timer's scheduled deadline, or the clock for other entries,
  // so chained timers are armed from where the previous one was due and never drift.
  platform::Micros stepStart_ = 0;
};

}  // namespace vantrel::keyer
