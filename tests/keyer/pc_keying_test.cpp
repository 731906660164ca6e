#include <gtest/gtest.h>

#include "engine_rig.h"
#include "keyer/keyer_messages.h"

namespace vantrel::keyer::testing {
namespace {

// Steps the manual clock one millisecond at a time and notes, with its time, every change of
// the key (K down, k up) and PTT (P on, p off) lines from their state at rest, and every
// text-done message (D): "P0 K25 k85 D265".
std::string Timeline(EngineRig& rig, std::int64_t untilMs) {
  std::string events;
  std::uint8_t lines = 0x0F;
  auto note = [&](const char* what, std::int64_t ms) {
    events += (events.empty() ? "" : " ") + std::string(what) + std::to_string(ms);
  };
  for (std::int64_t ms = 0; ms <= untilMs; ++ms) {
    if (ms > 0) rig.timers.AdvanceMs(1);
    const std::uint8_t now = rig.device->OutputLines();
    if ((now ^ lines) & 0x02) note((now & 0x02) ? "p" : "P", ms);
    if ((now ^ lines) & 0x01) note((now & 0x01) ? "k" : "K", ms);
    lines = now;
    for (const auto& m : rig.window.Take()) {
      if (m.message == WM_KEYER_TEXT_DONE) note("D", ms);
    }
  }
  return events;
}

TEST(PcKeying, ElementsGapsAndPttFollowTheClockAndTruncatedFloatProducts) {
  struct Case {
    std::function<void(CCwDevice&)> setup;
    std::vector<std::string> texts;
    const char* expected;
    PttState ptt = PttState::Off;
  };
  auto speed = [](unsigned wpm, float dashWeight) {
    return [=](CCwDevice& d) { d.SetSpeed(wpm), d.SetDashWeight(dashWeight); };
  };
  const Case cases[] = {
      {speed(5, 3.0f), {"T"}, "K0 k720 D1440"},
      {speed(13, 3.0f), {"T"}, "K0 k276 D552"},
      {speed(20, 3.3f), {"T"}, "K0 k197 D377"},
      {speed(50, 3.0f), {"T"}, "K0 k72 D144"},
      {{}, {"A B"}, "K0 k60 K120 k300 K720 k900 K960 k1020 K1080 k1140 K1200 k1260 D1440"},
      {{},
       {"A", " ", "B"},
       "K0 k60 K120 k300 K840 k1020 K1080 k1140 K1200 k1260 K1320 k1380 D1560"},
      {{}, {"~AR"}, "K0 k60 K120 k300 K360 k420 K480 k660 K720 k780 D840"},
      {[](CCwDevice& d) { d.SetDashWeight(0.0f); }, {"ET"}, "K0 k60 K240 k360 D540"},
      {[](CCwDevice& d) { d.SetPttControl(true); }, {"EE"}, "P0 K25 k85 K265 k325 D505 p585"},
      {[](CCwDevice& d) { d.SetPttControl(true), d.SetPttDelayAfter(0); },
       {"EE"},
       "P0 K25 p85 k85 P265 K290 p350 k350 D530"},
      {[](CCwDevice& d) { d.SetPttControl(true), d.SetPttHold(true); },
       {"E"},
       "P0 K0 k60 D240",
       PttState::Tail},
  };
  for (const auto& c : cases) {
    EngineRig rig(0);
    if (c.setup) c.setup(*rig.device);
    for (const auto& text : c.texts) rig.device->SendText(text);
    EXPECT_EQ(Timeline(rig, 1600), c.expected) << c.texts.front();
    EXPECT_EQ(rig.device->GetPttState(), c.ptt) << c.texts.front();
  }
}

TEST(PcKeying, SidetoneFollowsTheKeyOnlyWhenSwitchedOn) {
  using Op = platform::NullToneOutput::Op;
  using Call = platform::NullToneOutput::Call;
  EngineRig rig(0);
  rig.tone.Take();
  rig.device->SendText("E");
  rig.timers.AdvanceMs(30);
  rig.device->StopSending();
  EXPECT_TRUE(rig.tone.Take().empty());
  rig.device->SetPcSidetone(true);
  rig.device->SendText("I");
  rig.timers.AdvanceMs(90);
  rig.device->StopSending();
  EXPECT_EQ(rig.tone.Take(), (std::vector<Call>{{Op::Start, 0}, {Op::Pause, 0}, {Op::Pause, 0}}));
}

TEST(PcKeying, StopSendingReleasesLinesCancelsTimersAndPostsNoTextDone) {
  EngineRig rig(0);
  rig.device->SetPttControl(true);
  rig.device->SendText("PARIS");
  rig.timers.AdvanceMs(40);
  rig.device->StopSending();
  EXPECT_EQ(rig.device->OutputLines(), 0x0F);
  EXPECT_EQ(rig.device->GetKeyingState(), KeyingState::Idle);
  EXPECT_EQ(rig.device->GetPttState(), PttState::Off);
  EXPECT_EQ(rig.timers.PendingCount(), 0u);
  rig.window.Take();
  rig.timers.AdvanceMs(2000);
  EXPECT_TRUE(rig.window.Take().empty());
  // After a stop the next element waits for the lead-in again.
  rig.device->SendText("E");
  EXPECT_EQ(rig.device->OutputLines(), 0x0D);
}

TEST(PcKeying, DestroyingTheEngineMidElementLeavesNoTimerBehind) {
  EngineRig rig(10);
  rig.device->SetPttControl(true);
  rig.device->SendText("PARIS PARIS");
  rig.timers.AdvanceMs(333);
  rig.device.reset();
  EXPECT_EQ(rig.timers.PendingCount(), 0u);
  rig.timers.AdvanceMs(5000);
}

TEST(PcKeying, MessagesMarkCharacterAndWordGaps) {
  EngineRig rig(0);
  rig.device->SendText("E E");
  rig.timers.AdvanceMs(2000);
  std::vector<unsigned> messages;
  for (const auto& m : rig.window.Take()) messages.push_back(m.message);
  EXPECT_EQ(messages,
            (std::vector<unsigned>{WM_KEYER_WORD_SPACE, WM_KEYER_CHAR_SENT, WM_KEYER_TEXT_DONE}));
}

}  // namespace
}  // namespace vantrel::keyer::testing
