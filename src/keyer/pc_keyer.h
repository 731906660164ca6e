#pragma once

// PC-timed keying, for the oldest firmware (below 20), which only switches its output lines:
// the PC times every element and gap, runs the PTT lead-in and tail, and plays the PC sidetone.
// It drives the key and PTT lines through KeyLines and writes nothing to the interface itself.
//
// Locking: everything here runs under the engine's mutex. The engine holds it for each call;
// a timer expiry takes it before it runs its step (OnTimer), and a cancelled timer whose
// callback was already on its way finds its slot changed and does nothing.
//
// Keying state (KeyingState), one timer slot for elements and spaces:
//   Idle      -> Dot, Dash        a '.' or '-' at the front of the element string, or a paddle
//                                 contact while idle; key down for the weighted length (held
//                                 back until a pending PTT lead-in ends)
//   Dot, Dash -> ElementSpace     the element's time is up; key up for one dot length
//   Idle      -> CharSpace,       a ',' or '_' at the front; key up for the character or word
//                WordSpace        interval less the element space already kept
//   any space -> Idle             the space's time is up; the next symbol starts at once, else
//                                 the element the paddle memory holds
//   any       -> Idle             Stop: lines released, element string and memory cleared
// The symbol being played is overwritten with '!' when it starts and dropped at the next step
// from Idle; an empty string then ends the text (WM_KEYER_TEXT_DONE).
//
// PTT state (PttState), only while PTT control is on, the second timer slot:
//   Off         -> LeadIn         a key-down with a lead-in time: PTT line on, element held
//   Off, Tail   -> On             a key-down without a lead-in due (a tail is cut short)
//   LeadIn      -> On             the lead-in's time is up; the held element starts
//   On          -> Tail           a key-up with a tail time
//   Tail, On    -> Off            the tail's time is up, or a key-up without a tail time: PTT
//                                 line off, unless the PTT hold keeps it (and the state) on
// SetPttHold sets On or Off directly; Stop sets Off.
//
// Paddle memory (PaddleMemory): Empty -> Dot when the dot contact closes during a dash, Empty
// -> Dash when the dash contact closes during a dot; at the end of the next space the element
// is keyed and the memory is Empty again. While it holds an element, further contacts are
// ignored; while text is being sent, a contact stops the text instead.

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

// Every call is made with the engine's mutex held.
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
