#include <gtest/gtest.h>

#include <ctime>

#include "operating/macro_expander.h"
#include "operating/operating_logic.h"
#include "operating/speed.h"

namespace vantrel::operating {
namespace {

struct MacroCase {
  const char* text;
  MacroValues values;
  const char* expanded;
  bool numberUsed;
};

class ExpandMacrosTest : public testing::TestWithParam<MacroCase> {};

TEST_P(ExpandMacrosTest, ReplacesTheTokensInOrder) {
  const MacroExpansion result = ExpandMacros(GetParam().text, GetParam().values);
  EXPECT_EQ(result.text, GetParam().expanded);
  EXPECT_EQ(result.numberUsed, GetParam().numberUsed);
}

const MacroValues kValues{"JA1ZZZ", "Q1ABC", 599, "001"};

INSTANTIATE_TEST_SUITE_P(
    Tokens, ExpandMacrosTest,
    testing::Values(MacroCase{"CQ DE $M K", kValues, "CQ DE JA1ZZZ K", false},
                    MacroCase{"$C UR $R ~BK", kValues, "Q1ABC UR 599 ~BK", false},
                    MacroCase{"$N $N", kValues, "001 001", true},
                    MacroCase{"$M$M$C$C", kValues, "JA1ZZZJA1ZZZQ1ABCQ1ABC", false},
                    MacroCase{"$m $c $r $n", kValues, "$m $c $r $n", false},
                    MacroCase{"$", kValues, "$", false}, MacroCase{"", kValues, "", false},
                    MacroCase{"$R", {"", "", 5, ""}, "5", false},
                    MacroCase{"$R", {"", "", 0, ""}, "0", false},
                    MacroCase{"$C", {"", "", 599, ""}, "", false}));

// A later token is found in what an earlier one put in; an earlier one is not looked for again.
INSTANTIATE_TEST_SUITE_P(
    Rescanning, ExpandMacrosTest,
    testing::Values(MacroCase{"$M", {"X$C", "Q1ABC", 599, "7"}, "XQ1ABC", false},
                    MacroCase{"$M", {"$R$N", "", 599, "7"}, "5997", true},
                    MacroCase{"$C", {"JA1ZZZ", "$M", 599, ""}, "$M", false},
                    MacroCase{"$M", {"$M", "", 599, ""}, "$M", false},
                    MacroCase{"$$MM", {"$", "", 599, ""}, "$$M", false}));

TEST(WithoutProsignMarksTest, LeavesOutEveryMark) {
  EXPECT_EQ(WithoutProsignMarks("UR 599 ~BK"), "UR 599 BK");
  EXPECT_EQ(WithoutProsignMarks("~~A~"), "A");
  EXPECT_EQ(WithoutProsignMarks("TU"), "TU");
}

struct NumberCase {
  const char* before;
  const char* after;
};

class AdvanceNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(AdvanceNumberTest, KeepsTheWidthAndGrowsOnlyWhenTheValueNeedsIt) {
  EXPECT_EQ(AdvanceNumber(GetParam().before), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Counted, AdvanceNumberTest,
    testing::Values(NumberCase{"001", "002"}, NumberCase{"009", "010"}, NumberCase{"999", "1000"},
                    NumberCase{"M009", "M010"}, NumberCase{"12A34", "12A35"}, NumberCase{"1", "2"},
                    NumberCase{"9", "10"}, NumberCase{"0099", "0100"}, NumberCase{"A1", "A2"},
                    NumberCase{"5NN0019", "5NN0020"},
                    NumberCase{"99999999999999999999", "100000000000000000000"}));

INSTANTIATE_TEST_SUITE_P(Unchanged, AdvanceNumberTest,
                         testing::Values(NumberCase{"11M", "11M"}, NumberCase{"000", "000"},
                                         NumberCase{"A00", "A00"}, NumberCase{"", ""},
                                         NumberCase{"0", "0"}, NumberCase{"ABC", "ABC"}));

TEST(FirstCharacterLengthTest, KeepsDoubleByteCharactersWhole) {
  EXPECT_EQ(FirstCharacterLength(""), 0u);
  EXPECT_EQ(FirstCharacterLength("AB"), 1u);
  EXPECT_EQ(FirstCharacterLength("\xB1\xB2"), 1u);   // half-width katakana
  EXPECT_EQ(FirstCharacterLength("\x82\xA0X"), 2u);  // hiragana a
  EXPECT_EQ(FirstCharacterLength("\xE0\x40"), 2u);   // upper lead-byte range
  EXPECT_EQ(FirstCharacterLength("\x81"), 1u);       // lead byte cut off at the end
  EXPECT_EQ(FirstCharacterLength("\xA0\x40"), 1u);
}

struct ReportCase {
  unsigned halfDot;
  bool shorter;
  unsigned wpm;
  unsigned last;
  SpeedReportOutcome outcome;
};

class ApplySpeedReportTest : public testing::TestWithParam<ReportCase> {};

TEST_P(ApplySpeedReportTest, TakesOrRefusesTheInterfaceSpeed) {
  const ReportCase& c = GetParam();
  const SpeedReportOutcome outcome = ApplySpeedReport(c.halfDot, c.shorter, c.wpm, c.last);
  EXPECT_EQ(outcome.accepted, c.outcome.accepted);
  EXPECT_EQ(outcome.wpm, c.outcome.wpm);
  EXPECT_EQ(outcome.lastSpeedValue, c.outcome.lastSpeedValue);
}

INSTANTIATE_TEST_SUITE_P(Reports, ApplySpeedReportTest,
                         testing::Values(ReportCase{30, false, 25, 0, {true, 20, 30}},
                                         ReportCase{29, true, 20, 30, {true, 21, 29}},
                                         ReportCase{29, false, 20, 30, {true, 20, 29}},
                                         ReportCase{29, true, 20, 29, {true, 20, 29}},
                                         ReportCase{31, true, 20, 30, {true, 19, 31}},
                                         ReportCase{12, false, 20, 30, {true, 50, 12}},
                                         ReportCase{120, false, 20, 30, {true, 5, 120}},
                                         ReportCase{11, false, 20, 30, {false, 20, 30}},
                                         ReportCase{10, true, 20, 30, {false, 20, 30}},
                                         ReportCase{121, false, 20, 30, {false, 20, 30}},
                                         ReportCase{200, false, 20, 30, {false, 20, 30}}));

struct IntervalCase {
  float seconds;
  unsigned milliseconds;
};

class CqTimerMillisecondsTest : public testing::TestWithParam<IntervalCase> {};

TEST_P(CqTimerMillisecondsTest, TruncatesToWholeMilliseconds) {
  EXPECT_EQ(CqTimerMilliseconds(GetParam().seconds), GetParam().milliseconds);
}

INSTANTIATE_TEST_SUITE_P(Intervals, CqTimerMillisecondsTest,
                         testing::Values(IntervalCase{5.0f, 5000}, IntervalCase{2.5f, 2500},
                                         IntervalCase{0.0f, 0}, IntervalCase{60.0f, 60000},
                                         IntervalCase{0.7f, 700}, IntervalCase{1.2345f, 1234},
                                         IntervalCase{0.0009f, 0}, IntervalCase{-1.0f, 0}));

TEST(TimeStampTest, HoursMinutesSecondsAndAMark) {
  std::tm time{};
  time.tm_hour = 7;
  time.tm_min = 5;
  time.tm_sec = 9;
  EXPECT_EQ(TimeStamp(time), "07:05:09> ");
  time.tm_hour = 23;
  time.tm_min = 59;
  time.tm_sec = 59;
  EXPECT_EQ(TimeStamp(time), "23:59:59> ");
}

}  // namespace
}  // namespace vantrel::operating
