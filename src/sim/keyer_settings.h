#pragma once

#include <cstdint>

#include "platform/timer.h"

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

}  // namespace vantrel::sim
