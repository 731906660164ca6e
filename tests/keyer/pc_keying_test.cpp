#include <gtest/gtest.h>

#include "engine_rig.h"
#include "keyer/keyer_messages.h"

namespace vantrel::keyer::testing {
namespace {

struct Event {
  std::int64_t ms;
  std::string what;
  bool operator==(const Event&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Event& e) {
  return out << e.ms << ":" << e.what;
}

// Steps the manual clock one millisecond at a time and notes every change of the key and PTT
// lines from their state at rest, and every text-done message, with its time.
std::vector<Event> Timeline(EngineRig& rig, std::int64_t untilMs) {
  std::vector<Event> events;
  std::uint8_t lines = 0x0F;
  auto note = [&](std::int64_t ms) {
    const std::uint8_t now = rig.device->OutputLines();
    if ((now ^ lines) & 0x02) events.push_back({ms, (now & 0x02) ? "ptt up" : "ptt down"});
    if ((now ^ lines) & 0x01) events.push_back({ms, (now & 0x01) ? "key up" : "key down"});
    lines = now;
    for (const auto& m : rig.window.Take()) {
      if (m.message == WM_KEYER_TEXT_DONE) events.push_back({ms, "done"});
    }
  };
  note(0);
  for (std::int64_t ms = 1; ms <= untilMs; ++ms) {
    rig.timers.AdvanceMs(1);
    note(ms);
  }
  return events;
}

std::vector<Event> Keyed(std::initializer_list<std::pair<std::int64_t, std::int64_t>> spans) {
  std::vector<Event> events;
  for (auto [down, up] : spans) {
    events.push_back({down, "key down"});
    events.push_back({up, "key up"});
  }
  return events;
}

TEST(PcKeying, DurationsFollowTheDotLengthAndTruncatedFloatProducts) {
  struct Case {
    unsigned wpm;
    float dashWeight;
    std::int64_t dash;
  };
  for (const auto& c : {Case{5, 3.0f, 720}, Case{13, 3.0f, 276}, Case{20, 3.3f, 197},
                        Case{25, 3.0f, 144}, Case{50, 3.0f, 72}}) {
    EngineRig rig(0);
    rig.device->SetSpeed(c.wpm);
    rig.device->SetDashWeight(c.dashWeight);
    rig.device->SendText("T");
    const std::int64_t dot = 1200 / c.wpm;
    const auto events = Timeline(rig, c.dash + 4 * dot);
    const std::vector<Event> expected = {
        {0, "key down"}, {c.dash, "key up"}, {c.dash + dot + 2 * dot, "done"}};
    EXPECT_EQ(events, expected) << c.wpm;
  }
}

TEST(PcKeying, WordGapBetweenAAndBInOneCall) {
  EngineRig rig(0);
  rig.device->SendText("A B");
  auto expected = Keyed({{0, 60}, {120, 300}, {720, 900}, {960, 1020}, {1080, 1140}, {1200, 1260}});
  expected.push_back({1440, "done"});
  EXPECT_EQ(Timeline(rig, 1500), expected);
}

TEST(PcKeying, TextHandedOverInThreeCallsGetsCharacterAndWordGap) {
  EngineRig rig(0);
  rig.device->SendText("A");
  rig.device->SendText(" ");
  rig.device->SendText("B");
  const auto events = Timeline(rig, 900);
  EXPECT_EQ(events.back(), (Event{840, "key down"}));
}

TEST(PcKeying, PttLeadInAndTailAroundEE) {
  EngineRig rig(0);
  rig.device->SetPttControl(true);
  rig.device->SendText("EE");
  const std::vector<Event> expected = {{0, "ptt down"},   {25, "key down"}, {85, "key up"},
                                       {265, "key down"}, {325, "key up"},  {505, "done"},
                                       {585, "ptt up"}};
  EXPECT_EQ(Timeline(rig, 700), expected);
  EXPECT_EQ(rig.device->GetPttState(), PttState::Off);
}

TEST(PcKeying, WithoutTailEveryElementWaitsForTheLeadIn) {
  EngineRig rig(0);
  rig.device->SetPttControl(true);
  rig.device->SetPttDelayAfter(0);
  rig.device->SendText("EE");
  const std::vector<Event> expected = {{0, "ptt down"}, {25, "key down"},  {85, "ptt up"},
                                       {85, "key up"},  {265, "ptt down"}, {290, "key down"},
                                       {350, "ptt up"}, {350, "key up"},   {530, "done"}};
  EXPECT_EQ(Timeline(rig, 600), expected);
}

TEST(PcKeying, PttHoldKeepsPttThroughTheTailAndSkipsTheLeadIn) {
  EngineRig rig(0);
  rig.device->SetPttControl(true);
  rig.device->SetPttHold(true);
  rig.device->SendText("E");
  const std::vector<Event> expected = {
      {0, "ptt down"}, {0, "key down"}, {60, "key up"}, {240, "done"}};
  EXPECT_EQ(Timeline(rig, 600), expected);
  EXPECT_EQ(rig.device->GetPttState(), PttState::Tail);
  EXPECT_EQ(rig.device->OutputLines() & 0x02, 0);
}

TEST(PcKeying, ZeroDashWeightReusesTheLastNonZeroDuration) {
  EngineRig rig(0);
  rig.device->SetDashWeight(0.0f);
  rig.device->SendText("ET");
  // E's character gap of 120 ms was the last duration handed over before the dash.
  const auto events = Timeline(rig, 500);
  EXPECT_EQ(events[2], (Event{240, "key down"}));
  EXPECT_EQ(events[3], (Event{360, "key up"}));
}

TEST(PcKeying, ProsignRunsItsCharactersTogether) {
  EngineRig rig(0);
  rig.device->SendText("~AR");
  EXPECT_EQ(rig.device->ElementString(), "!-.-.");
  const auto expected = Keyed({{0, 60}, {120, 300}, {360, 420}, {480, 660}, {720, 780}});
  auto events = Timeline(rig, 780);
  EXPECT_EQ(events, expected);
}

TEST(PcKeying, SidetoneFollowsTheKeyOnlyWhenSwitchedOn) {
  using Op = platform::NullToneOutput::Op;
  using Call = platform::NullToneOutput::Call;
  EngineRig rig(0);
  rig.tone.Take();
  rig.device->SendText("E");
  rig.timers.AdvanceMs(300);
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
