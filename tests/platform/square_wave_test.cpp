#include "platform/linux/sound_portaudio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace vantrel::platform {
namespace {

using Samples = std::vector<std::int16_t>;

Samples Generate(unsigned frequency, unsigned rate, std::size_t count) {
  SquareWave wave(frequency, rate);
  Samples samples(count);
  wave.Fill(samples);
  return samples;
}

TEST(SquareWave, TenTimesTheFrequencyGivesFiveHighAndFiveLowSamples) {
  const Samples samples = Generate(880, 8800, 500);
  for (std::size_t k = 0; k < samples.size(); ++k) {
    EXPECT_EQ(samples[k], k % 10 < 5 ? 8000 : -8000) << "sample " << k;
  }
}

TEST(SquareWave, OneSecondHoldsExactlyTheFrequencysPeriodsOfFullAmplitude) {
  for (const auto [frequency, rate] :
       {std::pair{880u, 48000u}, {100u, 44100u}, {4000u, 48000u}, {777u, 96000u}, {4000u, 8000u}}) {
    SCOPED_TRACE(testing::Message() << frequency << " Hz at " << rate);
    const Samples samples = Generate(frequency, rate, rate + 1);
    int rising = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) rising += samples[i - 1] < 0 && samples[i] > 0;
    EXPECT_EQ(rising, static_cast<int>(frequency));
    const auto high = std::count(samples.begin(), samples.end() - 1, SquareWave::kAmplitude);
    const auto low = std::count(samples.begin(), samples.end() - 1, -SquareWave::kAmplitude);
    EXPECT_EQ(high + low, static_cast<long>(rate));
    EXPECT_NEAR(static_cast<double>(high), rate / 2.0, rate / (2.0 * frequency) + 1);
  }
}

TEST(SquareWave, PhaseCarriesOnAcrossBuffersOfAnySize) {
  const Samples whole = Generate(880, 48000, 5000);
  SquareWave wave(880, 48000);
  Samples pieces(whole.size());
  constexpr std::size_t kSizes[] = {1, 7, 128, 0, 333, 64};
  std::size_t offset = 0;
  for (std::size_t i = 0; offset < pieces.size(); ++i) {
    const std::size_t size = std::min(kSizes[i % std::size(kSizes)], pieces.size() - offset);
    wave.Fill(std::span(pieces).subspan(offset, size));
    offset += size;
  }
  EXPECT_EQ(pieces, whole);
}

}  // namespace
}  // namespace vantrel::platform
