#pragma once

#include <cstdint>
#include <span>

namespace vantrel::platform {

// A ±8000 square wave of 16-bit samples whose phase carries on from one buffer to the next.
// The phase counts in whole steps of the frequency, so the average pitch is exact at any
// sample rate. Needs 0 < frequencyHz and 2 × frequencyHz <= sampleRate.
class SquareWave {
 public:
  static constexpr std::int16_t kAmplitude = 8000;

  SquareWave(unsigned frequencyHz, unsigned sampleRate)
      : frequency_(frequencyHz), sampleRate_(sampleRate) {}

  void Fill(std::span<std::int16_t> samples);

 private:
  unsigned frequency_;
  unsigned sampleRate_;
  unsigned phase_ = 0;  // position in the period, in 1/sampleRate of a period
};

}  // namespace vantrel::platform
