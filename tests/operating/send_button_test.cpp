#include <gtest/gtest.h>

#include "operating/operating_rig.h"

namespace vantrel::operating {
namespace {

struct BlockSendCase {
  const char* name;
  unsigned firmware;
  bool logTime;
  const char* log;
};

void PrintTo(const BlockSendCase& c, std::ostream* os) {
  *os << c.name;
}

class BlockSendTest : public testing::TestWithParam<BlockSendCase> {};

TEST_P(BlockSendTest, EnterSendsTheLineWithATrailingSpaceAndLogsIt) {
  OperatingRig rig;
  rig.keyer.firmware = GetParam().firmware;
  rig.settings.LogTime = GetParam().logTime;
  rig.SetSendMode(kBlockMode);
  rig.Type("ur 599");
  EXPECT_TRUE(rig.keyer.sent.empty());
  EXPECT_EQ(rig.window.inputLine, "UR 599");

  rig.logic.OnSendButton();
  rig.SendQueued();
  EXPECT_EQ(rig.keyer.sent, "UR 599 ");
  EXPECT_EQ(rig.window.controls.log, GetParam().log);
  EXPECT_TRUE(rig.window.inputLine.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Modes, BlockSendTest,
    testing::Values(BlockSendCase{"paced", 23, false, "UR 599 \r\n"},
                    BlockSendCase{"paced_with_time", 23, true, "12:34:56> UR 599 \r\n"},
                    BlockSendCase{"pc_timed", 10, false, "UR 599 \r\n"},
                    BlockSendCase{"pc_timed_with_time", 10, true, "12:34:56> UR 599 \r\n"}),
    [](const testing::TestParamInfo<BlockSendCase>& info) { return std::string(info.param.name); });

TEST(BlockSendTest, MacrosInTheLineAreExpanded) {
  OperatingRig rig;
  rig.keyer.firmware = 10;
  rig.SetSendMode(kBlockMode);
  rig.window.controls.callsign = "Q1ABC";
  rig.window.inputLine = "$C DE $M ~AR";
  rig.logic.OnSendButton();
  EXPECT_EQ(rig.keyer.sent, "Q1ABC DE JA1ZZZ ~AR ");
  EXPECT_EQ(rig.window.controls.log, "Q1ABC DE JA1ZZZ AR \r\n");
}

TEST(SequentialSendTest, EnterLogsWhatIsStillQueuedAndItStillGoesOut) {
  OperatingRig rig;
  rig.Type("abcd");
  rig.Status(kSending);
  EXPECT_EQ(rig.keyer.sent, "A");
  EXPECT_EQ(rig.window.inputLine, "BCD");

  rig.logic.OnSendButton();
  EXPECT_EQ(rig.window.controls.log, "ABCD\r\n");
  EXPECT_TRUE(rig.window.inputLine.empty());
  EXPECT_EQ(rig.State().PendingText, "BCD");

  rig.SendQueued();
  EXPECT_EQ(rig.keyer.sent, "ABCD");
  EXPECT_EQ(rig.window.controls.log, "ABCD\r\n");
}

TEST(SequentialSendTest, EnterStampsTheLineAndLeavesOutProsignMarks) {
  OperatingRig rig;
  rig.settings.LogTime = true;
  rig.window.inputLine = "TU ~VA";
  rig.logic.OnSendButton();
  EXPECT_EQ(rig.window.controls.log, "12:34:56> TU VA\r\n");
  EXPECT_GT(rig.window.logEndShown, 0);
  EXPECT_TRUE(rig.keyer.calls.empty());
}

TEST(SendButtonTest, AnEmptyInputLineDoesNothing) {
  OperatingRig rig;
  rig.window.timer = 5000;
  rig.State().CqTimer = true;
  rig.window.controls.log = "OLD";
  rig.logic.OnSendButton();
  EXPECT_TRUE(rig.window.timer.has_value());
  EXPECT_EQ(rig.window.reads, 0);
  EXPECT_EQ(rig.window.controls.log, "OLD");
}

TEST(SendButtonTest, KillsTheCqTimerButKeepsTheCount) {
  OperatingRig rig;
  rig.State().CqRepeatCount = 7;
  rig.State().CqTimer = true;
  rig.window.timer = 5000;
  rig.window.inputLine = "QRZ";
  rig.logic.OnSendButton();
  EXPECT_FALSE(rig.window.timer.has_value());
  EXPECT_FALSE(rig.State().CqTimer);
  EXPECT_EQ(rig.State().CqRepeatCount, 7);
}

struct LogLimitCase {
  std::size_t length;
  bool emptied;
};

class LogLimitTest : public testing::TestWithParam<LogLimitCase> {};

TEST_P(LogLimitTest, ALogOverTheLimitStartsAfresh) {
  for (int mode : {kSequentialMode, kBlockMode}) {
    OperatingRig rig;
    rig.keyer.firmware = 10;
    rig.SetSendMode(mode);
    const std::string old(GetParam().length, 'x');
    rig.window.fields.LogText = old;
    rig.window.controls.log = old;
    rig.window.inputLine = "K";
    rig.logic.OnSendButton();
    const std::string kept = GetParam().emptied ? "" : old;
    EXPECT_EQ(rig.window.controls.log, kept + (mode == kBlockMode ? "K \r\n" : "K\r\n"));
  }
}

INSTANTIATE_TEST_SUITE_P(Lengths, LogLimitTest,
                         testing::Values(LogLimitCase{32766, false}, LogLimitCase{32767, false},
                                         LogLimitCase{32768, true}, LogLimitCase{40000, true}));

TEST(ClearButtonTest, EmptiesTheQueueAndTheLogWithoutStopping) {
  OperatingRig rig;
  rig.Type("abc");
  rig.window.fields.LogText = "OLD";
  rig.logic.OnClearButton();
  EXPECT_TRUE(rig.State().PendingText.empty());
  EXPECT_TRUE(rig.window.controls.log.empty());
  EXPECT_TRUE(rig.keyer.calls.empty());
  EXPECT_EQ(rig.window.inputLine, "ABC");
}

}  // namespace
}  // namespace vantrel::operating
