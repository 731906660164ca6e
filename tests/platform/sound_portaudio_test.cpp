#include "platform/linux/sound_portaudio.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace vantrel::platform {
namespace {

using Samples = std::vector<std::int16_t>;

// Filled in pieces of changing sizes, so that the phase must carry on across them.
Samples Generate(unsigned frequency, unsigned rate, std::size_t count) {
  SquareWave wave(frequency, rate);
  Samples samples(count);
  constexpr std::size_t kSizes[] = {1, 7, 128, 0, 333, 64};
  for (std::size_t i = 0, offset = 0, size = 0; offset < count; offset += size) {
    size = std::min(kSizes[i++ % std::size(kSizes)], count - offset);
    wave.Fill(std::span(samples).subspan(offset, size));
  }
  return samples;
}

TEST(SquareWave, OneSecondHoldsExactlyTheFrequencysPeriodsOfFullAmplitude) {
  const Samples tenfold = Generate(880, 8800, 500);
  for (std::size_t k = 0; k < tenfold.size(); ++k)
    EXPECT_EQ(tenfold[k], k % 10 < 5 ? 8000 : -8000) << "sample " << k;
  for (const auto& [frequency, rate] :
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

// PortAudio's ALSA host aborts in its device scan without ALSA's configuration (missing, or
// empty). The check runs once per process, so each case runs in a fresh one. A tone never
// opened gates and closes safely.
TEST(PortAudioToneDeathTest, WithoutAnAlsaConfigurationOpensNothingAndTracesOneLine) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (const char* configuration : {"/nonexistent", "/dev/null"}) {
    EXPECT_EXIT(
        {
          setenv("ALSA_CONFIG_PATH", configuration, 1);
          setenv("VANTREL_DEBUG", "1", 1);
          PortAudioTone first;
          PortAudioTone second;
          const bool opened = first.Open(880) || second.Open(700) || first.Open(600);
          first.Start();
          first.Pause();
          second.Close();
          std::exit(opened ? 1 : 0);
        },
        testing::ExitedWithCode(0),
        testing::StrEq("vantrel: No PC sidetone: the ALSA configuration is missing or defines no "
                       "default device; keying goes on without a tone\n"))
        << configuration;
  }
}

}  // namespace
}  // namespace vantrel::platform
