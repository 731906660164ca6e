#pragma once

namespace vantrel::keyer {

// The dot length in whole ms: a word of 50 dot lengths ("PARIS ") sent `wpm` times a minute.
constexpr unsigned DotLengthMs(unsigned wpm) {
  return 1200 / wpm;
}

// The keyer parameters the operator sets, at the values of a first start without a settings
// file; the engine starts from them and the settings take their defaults from here.
struct KeyerParams {
  unsigned wpm = 20;
  float dotWeight = 1.0f;
  float dashWeight = 3.0f;
  float charInterval = 3.0f;
  float wordInterval = 7.0f;
  unsigned pttDelayBefore = 25;
  unsigned pttDelayAfter = 200;
  bool pttControl = false;
  bool pcSidetone = false;
  unsigned pcSidetoneFreq = 880;
  unsigned sidetoneIndex = 7;

  constexpr unsigned DotLength() const { return DotLengthMs(wpm); }
};

inline constexpr KeyerParams kDefaultKeyerParams{};

// Accepted ranges, inclusive.
inline constexpr unsigned kMinWpm = 5;
inline constexpr unsigned kMaxWpm = 50;
inline constexpr float kMaxWeight = 5.0f;
inline constexpr float kMinCharInterval = 2.0f;
inline constexpr float kMaxCharInterval = 10.0f;
inline constexpr float kMinWordInterval = 3.0f;
inline constexpr float kMaxWordInterval = 20.0f;
inline constexpr unsigned kMaxPttDelayBefore = 100;
inline constexpr unsigned kMaxPttDelayAfter = 500;

}  // namespace vantrel::keyer
