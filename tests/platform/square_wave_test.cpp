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

int RisingEdges(const Samples& samples) {
  int edges = 0;
  for (std::size_t i = 1; i < samples.size(); ++i) edges += samples[i - 1] < 0 && samples[i] > 0;
  return edges;
}

TEST(SquareWave, TenTimesTheFrequencyGivesFiveHighAndFiveLowSamples) {
  const Samples samples = Generate(880, 8800, 500);
  for (std::size_t k = 0; k < samples.size(); ++k) {
    EXPECT_EQ(samples[k], k % 10 < 5 ? 8000 : -8000) << "sample " << k;
  }
}

TEST(SquareWave, OnlyFullAmplitudeValues) {
  for (const auto sample : Generate(700, 44100, 10000)) {
    EXPECT_TRUE(sample == 8000 || sample == -8000);
  }
}

struct PitchCase {
  unsigned frequency;
  unsigned rate;
};

class SquareWavePitch : public testing::TestWithParam<PitchCase> {};

TEST_P(SquareWavePitch, OneSecondHoldsExactlyTheFrequencysPeriods) {
  const auto [frequency, rate] = GetParam();
  const Samples samples = Generate(frequency, rate, rate + 1);
  EXPECT_EQ(RisingEdges(samples), static_cast<int>(frequency));
  const auto high = std::count(samples.begin(), samples.end() - 1, SquareWave::kAmplitude);
  EXPECT_NEAR(static_cast<double>(high), rate / 2.0, rate / (2.0 * frequency) + 1);
}

INSTANTIATE_TEST_SUITE_P(SquareWave, SquareWavePitch,
                         testing::Values(PitchCase{880, 48000}, PitchCase{100, 44100},
                                         PitchCase{4000, 48000}, PitchCase{777, 96000},
                                         PitchCase{4000, 8000}));

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
