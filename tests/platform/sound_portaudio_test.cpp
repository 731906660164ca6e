#include "platform/linux/sound_portaudio.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace vantrel::platform {
namespace {

TEST(PortAudioTone, OpensTheSameWayEveryTimeAndGatesSafelyEitherWay) {
  auto tone = MakeSystemToneOutput();
  const bool opened = tone->Open(880);
  tone->Start();
  tone->Pause();
  tone->Close();
  EXPECT_EQ(tone->Open(700), opened);
  tone->Start();
  EXPECT_EQ(tone->Open(880), opened);
  tone->Close();
  tone->Close();
}

TEST(PortAudioTone, GatingAClosedToneDoesNothing) {
  PortAudioTone tone;
  tone.Start();
  tone.Pause();
  tone.Close();
}

TEST(PortAudioTone, ZeroFrequencyDoesNotOpen) {
  PortAudioTone tone;
  EXPECT_FALSE(tone.Open(0));
  tone.Start();
}

TEST(PortAudioTone, TwoTonesShareTheLibrary) {
  PortAudioTone first;
  PortAudioTone second;
  const bool opened = first.Open(880);
  EXPECT_EQ(second.Open(600), opened);
  first.Close();
  EXPECT_EQ(second.Open(600), opened);
}

}  // namespace
}  // namespace vantrel::platform

namespace vantrel::platform {
namespace {

// PortAudio's ALSA host aborts in its device scan without ALSA's configuration (missing, or
// empty). The check runs once per process, so each case runs in a fresh one.
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
