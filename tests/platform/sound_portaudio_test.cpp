#include "platform/sound_portaudio.h"

#include <gtest/gtest.h>

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
