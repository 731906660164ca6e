#include <gtest/gtest.h>

#include "operating/operating_rig.h"

namespace vantrel::operating {
namespace {

struct PaceStep {
  int bufferState;
  const char* sent;
  const char* inputLine;
  const char* log;
};

// Four letters typed before the first report: one is handed over per pacing step, each on the
// third report after the one before, and moves from the input line to the log.
TEST(PacingTest, QuickLettersGoOnePerStep) {
  OperatingRig rig;
  rig.Type("abcd");
  const PaceStep steps[] = {
      {kSending, "A", "BCD", "A"},   {kSending, "A", "BCD", "A"},    {0, "A", "BCD", "A"},
      {kSending, "AB", "CD", "AB"},  {5, "AB", "CD", "AB"},          {14, "AB", "CD", "AB"},
      {2, "AB", "CD", "AB"},         {kSending, "ABC", "D", "ABC"},  {kSending, "ABC", "D", "ABC"},
      {kSending, "ABC", "D", "ABC"}, {kSending, "ABCD", "", "ABCD"}, {kSending, "ABCD", "", "ABCD"},
  };
  for (const PaceStep& step : steps) {
    rig.Status(step.bufferState);
    EXPECT_EQ(rig.keyer.sent, step.sent);
    EXPECT_EQ(rig.window.inputLine, step.inputLine);
    EXPECT_EQ(rig.window.controls.log, step.log);
  }
}

TEST(PacingTest, ABusyBufferHoldsTheHandOverBack) {
  OperatingRig rig;
  rig.Type("ab");
  rig.Status(kSending);
  rig.Status(kSending, 2);
  for (int busy : {2, 3, 9, 14}) rig.Status(busy);
  EXPECT_EQ(rig.keyer.sent, "A");
  rig.Status(1);
  EXPECT_EQ(rig.keyer.sent, "AB");
}

struct ProsignCase {
  const char* queued;
  std::vector<std::string> firstStep;
};

class ProsignPacingTest : public testing::TestWithParam<ProsignCase> {};

TEST_P(ProsignPacingTest, AMarkAndItsTwoLettersGoInOneStep) {
  OperatingRig rig;
  rig.State().PendingText = GetParam().queued;
  rig.Status(kSending);
  EXPECT_EQ(rig.keyer.calls, GetParam().firstStep);
}

INSTANTIATE_TEST_SUITE_P(
    Queued, ProsignPacingTest,
    testing::Values(ProsignCase{"~BK", {"SendText ~", "SendText B", "SendText K"}},
                    ProsignCase{"~BKX", {"SendText ~", "SendText B", "SendText K"}},
                    ProsignCase{"~B", {"SendText ~"}}, ProsignCase{"B~K", {"SendText B"}},
                    ProsignCase{"~\x82\xA0K", {"SendText ~", "SendText \x82", "SendText \xA0"}}));

// A double-byte character goes one byte per hand-over and reaches the log whole with its
// second byte; its second byte is never read as the first of another character.
TEST(PacingTest, DoubleByteCharactersGoOneBytePerStep) {
  OperatingRig rig;
  const std::string kana = "\x83\x81";  // trail byte 0x81 is also a lead byte
  rig.State().PendingText = kana + "K";
  rig.window.inputLine = kana + "K";
  rig.Status(kSending);
  EXPECT_EQ(rig.keyer.sent, "\x83");
  EXPECT_EQ(rig.window.inputLine, kana + "K");
  for (int i = 0; i < 3; ++i) rig.Status(kSending);
  EXPECT_EQ(rig.keyer.sent, kana);
  EXPECT_EQ(rig.window.inputLine, "K");
  EXPECT_EQ(rig.window.controls.log, kana);
  for (int i = 0; i < 3; ++i) rig.Status(kSending);
  EXPECT_EQ(rig.keyer.sent, kana + "K");
}

TEST(PacingTest, IdleOnTheThirdReportAbandonsTheQueue) {
  OperatingRig rig;
  rig.window.controls.ptt = 1;
  rig.Type("abc");
  rig.Status(kIdle);
  rig.Status(kSending, 2);
  EXPECT_EQ(rig.keyer.TakeCalls(), (std::vector<std::string>{"SendText A"}));

  rig.Status(kIdle);
  EXPECT_EQ(rig.keyer.TakeCalls(), (std::vector<std::string>{"SetPttHold 0", "StopSending"}));
  EXPECT_TRUE(rig.State().PendingText.empty());
  EXPECT_TRUE(rig.window.inputLine.empty());
  EXPECT_EQ(rig.window.controls.ptt, 0);
  EXPECT_TRUE(rig.State().ClearBeforeNext);

  rig.Status(kIdle, 2);
  rig.Type("d");
  rig.Status(kSending);
  EXPECT_EQ(rig.keyer.TakeCalls(), (std::vector<std::string>{"ClearBuffer", "SendText D"}));
  rig.SendQueued();
  rig.Type("e");
  rig.Status(kSending);
  EXPECT_EQ(rig.keyer.TakeCalls(), (std::vector<std::string>{"ClearBuffer", "SendText E"}));
}

TEST(PacingTest, LaterIdleReportsDoNotAbandon) {
  OperatingRig rig;
  rig.Type("ab");
  rig.Status(kSending, 3);
  rig.logic.StopTransmission();
  rig.keyer.TakeCalls();
  rig.State().PendingText = "XY";
  rig.State().PaceCountdown = 0;
  rig.Status(kIdle);
  EXPECT_EQ(rig.keyer.TakeCalls(), (std::vector<std::string>{"SendText X"}));
}

TEST(PacingTest, BlockModeHandsOverWithoutTouchingTheInputLine) {
  OperatingRig rig;
  rig.SetSendMode(kBlockMode);
  rig.window.inputLine = "NEXT";
  rig.State().PendingText = "TU";
  rig.SendQueued();
  EXPECT_EQ(rig.keyer.sent, "TU");
  EXPECT_EQ(rig.window.inputLine, "NEXT");
  EXPECT_TRUE(rig.window.controls.log.empty());
}

TEST(PacingTest, StopTransmissionResetsThePacing) {
  OperatingRig rig;
  rig.Type("abc");
  rig.Status(kSending);
  rig.State().ClearBeforeNext = true;
  rig.logic.StopTransmission();
  EXPECT_EQ(rig.State().PaceCountdown, 0);
  EXPECT_FALSE(rig.State().ClearBeforeNext);
  EXPECT_TRUE(rig.State().PendingText.empty());
  EXPECT_EQ(rig.window.focus, Control::InputLine);
}

}  // namespace
}  // namespace vantrel::operating
