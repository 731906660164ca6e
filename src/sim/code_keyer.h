#pragma once

#include <cstdint>
#include <deque>

#include "platform/timer.h"
#include "sim/guarded_timers.h"
#include "sim/recorder.h"

namespace vantrel::sim {

// The keying parameters as the host sends them: half the dot length in ms, weights as twice
// the dot lengths, PTT lead-in and tail in ms. The defaults are 20 WPM, 1:3, 25/200 ms.
struct KeyerSettings {
  std::uint8_t halfDotMs = 30;
  std::uint8_t dotWeight2 = 2;
  std::uint8_t dashWeight2 = 6;
  std::uint8_t pttBeforeMs = 25;
  std::uint8_t pttAfterMs = 200;
  bool pttControl = false;
  std::uint8_t sidetoneIndex = 7;

  // dot length × weight = (2 × half dot) × (weight2 / 2) ms
  platform::Micros DotUs() const { return platform::Micros{halfDotMs} * dotWeight2 * 1000; }
  platform::Micros DashUs() const { return platform::Micros{halfDotMs} * dashWeight2 * 1000; }
  platform::Micros DotLengthUs() const { return platform::Micros{halfDotMs} * 2000; }
  platform::Micros LeadInUs() const { return platform::Micros{pttBeforeMs} * 1000; }
  platform::Micros TailUs() const { return platform::Micros{pttAfterMs} * 1000; }
};

// The interface's own keyer (firmware 20 and later): keys queued MorseCode bytes with one dot
// between elements, three after a character and seven around a word space, and runs PTT with
// a lead-in before the first element and a tail after each key-up. Not locked: it runs under
// the interface's mutex, which its timers take.
class CodeKeyer {
 public:
  CodeKeyer(GuardedTimers& timers, Transmitter& transmitter)
      : timers_(timers), transmitter_(transmitter) {}

  KeyerSettings& Settings() { return settings_; }
  const KeyerSettings& Settings() const { return settings_; }

  void Queue(std::uint8_t code, platform::Micros now);
  // Drops the queue and keys up at once; PTT, if the keyer holds it, runs its tail.
  void Clear(platform::Micros now);
  void HoldPtt(bool on, platform::Micros now);
  // 15 when idle, one lower for every character queued or being keyed.
  std::uint8_t BufferState() const;
  // Forgets everything, as at power-up; the owner has cancelled the timers.
  void Reset();

 private:
  enum class Phase { Idle, LeadIn, Element, Gap };

  void StartNext(platform::Micros at);
  void StartElement(platform::Micros at);
  void KeyDown(platform::Micros at);
  void KeyUp(platform::Micros at);
  void After(platform::Micros at, void (CodeKeyer::*step)(platform::Micros));
  void StartTail(platform::Micros at);
  void EndTail(platform::Micros at);
  void UpdatePtt(platform::Micros at);
  bool CurrentIsDash() const;

  GuardedTimers& timers_;
  Transmitter& transmitter_;
  KeyerSettings settings_;
  std::deque<std::uint8_t> queue_;
  Phase phase_ = Phase::Idle;
  std::uint8_t code_ = 0;
  int element_ = 0;
  int elementCount_ = 0;
  platform::TimerService::TimerId stepTimer_ = 0;
  platform::TimerService::TimerId tailTimer_ = 0;
  bool keyerPtt_ = false;
  bool heldPtt_ = false;
};

}  // namespace vantrel::sim
