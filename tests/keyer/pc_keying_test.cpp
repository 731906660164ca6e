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
  for (const auto& row : Golden(VANTREL_TEST_DATA "/pc_timings.txt")) {
    SCOPED_TRACE(row[0]);
    EngineRig rig(0);
    Act(*rig.device, row[0]);
    EXPECT_EQ(Timeline(rig, 1600), row[1]);
    EXPECT_EQ(static_cast<int>(rig.device->GetPttState()), std::stoi(row[2]));
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
