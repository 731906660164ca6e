#include "platform/square_wave.h"

namespace vantrel::platform {

void SquareWave::Fill(std::span<std::int16_t> samples) {
  for (auto& sample : samples) {
    sample = 2 * phase_ < sampleRate_ ? kAmplitude : -kAmplitude;
    phase_ += frequency_;
    if (phase_ >= sampleRate_) phase_ -= sampleRate_;
  }
}

}  // namespace vantrel::platform
