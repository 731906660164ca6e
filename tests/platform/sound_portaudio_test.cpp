#include "platform/linux/sound_portaudio.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "settings/data_table.h"

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

TEST(SquareWave, EachSampleHasFullAmplitudeWithTheSignOfItsPlaceInThePeriod) {
  for (const auto& row : ReadTable(VANTREL_PLATFORM_DATA_DIR "/square_waves.txt")) {
    SCOPED_TRACE(row[0] + " Hz at " + row[1]);
    std::string signs;
    for (const auto sample : Generate(std::stoul(row[0]), std::stoul(row[1]), row[2].size())) {
      signs += sample == SquareWave::kAmplitude    ? '+'
               : sample == -SquareWave::kAmplitude ? '-'
                                                   : '?';
    }
    EXPECT_EQ(signs, row[2]);
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
