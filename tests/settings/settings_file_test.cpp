#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace vantrel::settings {
namespace {

const char kDefaultFile[] =
    "Vantrel.cfg\n"
    "FnMsgA01 \n"
    "FnMsgA02 \n"
    "FnMsgA03 \n"
    "FnMsgA04 \n"
    "FnMsgA05 \n"
    "FnMsgA06 \n"
    "FnMsgA07 \n"
    "FnMsgA08 \n"
    "FnMsgA09 \n"
    "FnMsgA10 \n"
    "FnMsgB01 \n"
    "FnMsgB02 \n"
    "FnMsgB03 \n"
    "FnMsgB04 \n"
    "FnMsgB05 \n"
    "FnMsgB06 \n"
    "FnMsgB07 \n"
    "FnMsgB08 \n"
    "FnMsgB09 \n"
    "FnMsgB10 \n"
    "MyCALL N0CALL\n"
    "WPM 20\n"
    "CqLoopInterval 5.000000\n"
    "WeightDot 1.000000\n"
    "WeightDash 3.000000\n"
    "IntervalChar 3.000000\n"
    "IntervalWord 7.000000\n"
    "PttdBefore 25\n"
    "PttdAfter 200\n"
    "Number 11M\n"
    "Auto FALSE\n"
    "PaddleRvs FALSE\n"
    "PTTCtrl FALSE\n"
    "SideTone FALSE\n"
    "SideToneFreq 880\n"
    "SideToneFreqIf 558\n"
    "LogTime FALSE\n";

Settings Read(const std::string& text, Settings settings = {}) {
  std::istringstream in(text);
  ReadSettings(settings, in);
  return settings;
}

TEST(FormatSettings, DefaultsGiveTheFixedThirtyEightLines) {
  std::string text = FormatSettings(Settings{});
  EXPECT_EQ(text, kDefaultFile);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 38);
}

TEST(FormatSettings, WritesEveryValueInItsFormat) {
  Settings s;
  s.FnMsgA = kDefaultBankA;
  s.FnMsgB[9] = "  two blanks";
  s.MyCALL = "JA1ZZZ";
  s.WPM = 5;
  s.CqLoopInterval = 0.5f;
  s.WeightDot = 0.1f;
  s.WeightDash = 5.0f;
  s.IntervalChar = 10.0f;
  s.IntervalWord = 20.0f;
  s.PttdBefore = 0;
  s.PttdAfter = 500;
  s.Number = "001";
  s.Auto = s.PaddleRvs = s.PTTCtrl = s.SideTone = s.LogTime = true;
  s.SideToneFreq = 3000;
  s.SideToneFreqIf = std::string(SideToneFreqList[0]);
  std::string text = FormatSettings(s);
  for (const char* line : {"\nFnMsgA01 CQ DE $M K\n",
                           "\nFnMsgA07 \n",
                           "\nFnMsgA10 TNX FER UR CALL\n",
                           "\nFnMsgB10   two blanks\n",
                           "\nMyCALL JA1ZZZ\n",
                           "\nWPM 5\n",
                           "\nCqLoopInterval 0.500000\n",
                           "\nWeightDot 0.100000\n",
                           "\nWeightDash 5.000000\n",
                           "\nIntervalChar 10.000000\n",
                           "\nIntervalWord 20.000000\n",
                           "\nPttdBefore 0\n",
                           "\nPttdAfter 500\n",
                           "\nNumber 001\n",
                           "\nAuto TRUE\n",
                           "\nPaddleRvs TRUE\n",
                           "\nPTTCtrl TRUE\n",
                           "\nSideTone TRUE\n",
                           "\nSideToneFreq 3000\n",
                           "\nSideToneFreqIf \x82\xC8\x82\xB5\n",
                           "\nLogTime TRUE\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
}

struct LineCase {
  const char* name;
  std::string text;
  void (*check)(const Settings&);
};

void PrintTo(const LineCase& c, std::ostream* os) {
  *os << c.name;
}

class ReadLine : public testing::TestWithParam<LineCase> {};

TEST_P(ReadLine, TakesOverAsTheKeyRulesSay) {
  GetParam().check(Read(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    ReadSettings, ReadLine,
    testing::Values(
        LineCase{"Wpm4Ignored", "WPM 4\n", [](const Settings& s) { EXPECT_EQ(s.WPM, 20); }},
        LineCase{"Wpm51Ignored", "WPM 51\n", [](const Settings& s) { EXPECT_EQ(s.WPM, 20); }},
        LineCase{"Wpm5Taken", "WPM 5\n", [](const Settings& s) { EXPECT_EQ(s.WPM, 5); }},
        LineCase{"Wpm50Taken", "WPM 50\n", [](const Settings& s) { EXPECT_EQ(s.WPM, 50); }},
        LineCase{"WpmLeadingNumber", "WPM 33abc\n",
                 [](const Settings& s) { EXPECT_EQ(s.WPM, 33); }},
        LineCase{"WpmHugeIgnored", "WPM 99999999999999999999999\n",
                 [](const Settings& s) { EXPECT_EQ(s.WPM, 20); }},
        LineCase{"Cq60Taken", "CqLoopInterval 60\n",
                 [](const Settings& s) { EXPECT_EQ(s.CqLoopInterval, 60.0f); }},
        LineCase{"Cq60point5Ignored", "CqLoopInterval 60.5\n",
                 [](const Settings& s) { EXPECT_EQ(s.CqLoopInterval, 5.0f); }},
        LineCase{"CqDecimalPoint", "CqLoopInterval 2.5\n",
                 [](const Settings& s) { EXPECT_EQ(s.CqLoopInterval, 2.5f); }},
        LineCase{"CqExponent", "CqLoopInterval 1.5e1s\n",
                 [](const Settings& s) { EXPECT_EQ(s.CqLoopInterval, 15.0f); }},
        LineCase{"CqNanIgnored", "CqLoopInterval nan\n",
                 [](const Settings& s) { EXPECT_EQ(s.CqLoopInterval, 5.0f); }},
        LineCase{"IntervalChar1point9Ignored", "IntervalChar 1.9\n",
                 [](const Settings& s) { EXPECT_EQ(s.IntervalChar, 3.0f); }},
        LineCase{"IntervalWord20Taken", "IntervalWord 20\n",
                 [](const Settings& s) { EXPECT_EQ(s.IntervalWord, 20.0f); }},
        LineCase{"IntervalWord2point9Ignored", "IntervalWord 2.9\n",
                 [](const Settings& s) { EXPECT_EQ(s.IntervalWord, 7.0f); }},
        LineCase{"WeightDotTextSetsZero", "WeightDot x\n",
                 [](const Settings& s) { EXPECT_EQ(s.WeightDot, 0.0f); }},
        LineCase{"WeightDash5point1Ignored", "WeightDash 5.1\n",
                 [](const Settings& s) { EXPECT_EQ(s.WeightDash, 3.0f); }},
        LineCase{"PttdAfterTextSetsZero", "PttdAfter x\n",
                 [](const Settings& s) { EXPECT_EQ(s.PttdAfter, 0); }},
        LineCase{"PttdAfter501Ignored", "PttdAfter 501\n",
                 [](const Settings& s) { EXPECT_EQ(s.PttdAfter, 200); }},
        LineCase{"PttdBefore101Ignored", "PttdBefore 101\n",
                 [](const Settings& s) { EXPECT_EQ(s.PttdBefore, 25); }},
        LineCase{"PttdBeforeNegativeIgnored", "PttdBefore -1\n",
                 [](const Settings& s) { EXPECT_EQ(s.PttdBefore, 25); }},
        LineCase{"WpmTextIgnored", "WPM x\n", [](const Settings& s) { EXPECT_EQ(s.WPM, 20); }},
        LineCase{"SideToneFreq299Ignored", "SideToneFreq 299\n",
                 [](const Settings& s) { EXPECT_EQ(s.SideToneFreq, 880); }},
        LineCase{"SideToneFreq300Taken", "SideToneFreq 300\n",
                 [](const Settings& s) { EXPECT_EQ(s.SideToneFreq, 300); }},
        LineCase{"AutoLowerCaseFalse", "Auto TRUE\nAuto true\n",
                 [](const Settings& s) { EXPECT_FALSE(s.Auto); }},
        LineCase{"AutoTrailingBlankFalse", "Auto TRUE\nAuto TRUE \n",
                 [](const Settings& s) { EXPECT_FALSE(s.Auto); }},
        LineCase{"AutoOneFalse", "LogTime TRUE\nLogTime 1\n",
                 [](const Settings& s) { EXPECT_FALSE(s.LogTime); }},
        LineCase{"FlagsTrue",
                 "Auto TRUE\nPaddleRvs TRUE\nPTTCtrl TRUE\nSideTone TRUE\nLogTime TRUE\n",
                 [](const Settings& s) {
                   EXPECT_TRUE(s.Auto && s.PaddleRvs && s.PTTCtrl && s.SideTone && s.LogTime);
                 }},
        LineCase{"SideToneIf3906", "SideToneFreqIf 3906\n",
                 [](const Settings& s) {
                   EXPECT_EQ(s.SideToneFreqIf, "3906");
                   EXPECT_EQ(s.SideToneFreqIfIndex, 1);
                 }},
        LineCase{"SideToneIf300", "SideToneFreqIf 300\n",
                 [](const Settings& s) { EXPECT_EQ(s.SideToneFreqIfIndex, 13); }},
        LineCase{"SideToneIf1000", "SideToneFreqIf 3906\nSideToneFreqIf 1000\n",
                 [](const Settings& s) {
                   EXPECT_EQ(s.SideToneFreqIf, "1000");
                   EXPECT_EQ(s.SideToneFreqIfIndex, 7);
                 }},
        LineCase{"SideToneIfNone", "SideToneFreqIf \x82\xC8\x82\xB5\n",
                 [](const Settings& s) { EXPECT_EQ(s.SideToneFreqIfIndex, 0); }},
        LineCase{"MessageKeepsLeadingBlank", "FnMsgA03  UR\n",
                 [](const Settings& s) { EXPECT_EQ(s.FnMsgA[2], " UR"); }},
        LineCase{"MessageAloneIsEmpty", "FnMsgA05 X\nFnMsgA05\n",
                 [](const Settings& s) { EXPECT_EQ(s.FnMsgA[4], ""); }},
        LineCase{"MessageKeyWithBlankOnly", "FnMsgB10 X\nFnMsgB10 \n",
                 [](const Settings& s) { EXPECT_EQ(s.FnMsgB[9], ""); }},
        LineCase{"MessageOneDigitKeyIgnored", "FnMsgA1 X\nFnMsgA11 Y\nFnMsgA00 Z\n",
                 [](const Settings& s) { EXPECT_EQ(s.FnMsgA, MessageBank{}); }},
        LineCase{"LeadingBlankBeforeKey", " WPM 21\n",
                 [](const Settings& s) { EXPECT_EQ(s.WPM, 21); }},
        LineCase{"KeysAreCaseSensitive", "wpm 30\nmycall X\n",
                 [](const Settings& s) {
                   EXPECT_EQ(s.WPM, 20);
                   EXPECT_EQ(s.MyCALL, "N0CALL");
                 }},
        LineCase{"TextKeepsBlanks", "MyCALL  JA1 \nNumber 5NN \n",
                 [](const Settings& s) {
                   EXPECT_EQ(s.MyCALL, " JA1 ");
                   EXPECT_EQ(s.Number, "5NN ");
                 }},
        LineCase{"TabAfterKeyCountsAsTheBlank", "MyCALL\tAB\n",
                 [](const Settings& s) { EXPECT_EQ(s.MyCALL, "AB"); }},
        LineCase{"LaterLineWins", "WPM 30\nWPM 40\n",
                 [](const Settings& s) { EXPECT_EQ(s.WPM, 40); }},
        LineCase{"CrLfLineEnds", "MyCALL JA1\r\nWPM 30\r\nAuto TRUE\r\n",
                 [](const Settings& s) {
                   EXPECT_EQ(s.MyCALL, "JA1");
                   EXPECT_EQ(s.WPM, 30);
                   EXPECT_TRUE(s.Auto);
                 }},
        LineCase{"NoFinalLineEnd", "WPM 30\nMyCALL JA2",
                 [](const Settings& s) {
                   EXPECT_EQ(s.WPM, 30);
                   EXPECT_EQ(s.MyCALL, "JA2");
                 }},
        LineCase{"NulEndsTheLine",
                 std::string("MyCALL JA\0ZZ\nWPM 3\0"
                             "0\n",
                             19),
                 [](const Settings& s) {
                   EXPECT_EQ(s.MyCALL, "JA");
                   EXPECT_EQ(s.WPM, 20);
                 }}),
    [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(ReadSettings, HeaderUnknownKeysAndEmptyInputChangeNothing) {
  EXPECT_EQ(Read(""), Settings{});
  EXPECT_EQ(Read("Vantrel.cfg\nFoo 1\n\n   \n\t\nWPMX 30\n"), Settings{});
}

TEST(ReadSettings, KeyAbsentKeepsTheValueItHad) {
  Settings before;
  before.WPM = 33;
  before.MyCALL = "JA1";
  Settings after = Read("WPM 40\n", before);
  EXPECT_EQ(after.WPM, 40);
  EXPECT_EQ(after.MyCALL, "JA1");
}

TEST(ReadSettings, LongMessageRoundTripsAndItsTailIsNeverAKey) {
  Settings s;
  std::string message(246, 'A');
  message += " WPM 5 ab";
  message += 'Z';
  ASSERT_EQ(message.size(), 256u);
  s.FnMsgA[0] = message;
  Settings back = Read(FormatSettings(s));
  EXPECT_EQ(back.FnMsgA[0], message);
  EXPECT_EQ(back.WPM, 20);
}

TEST(ReadSettings, MultiMegabyteLineIsKeptWhole) {
  std::string message(3 << 20, 'x');
  Settings back = Read("FnMsgB02 " + message + "\nWPM 31\n");
  EXPECT_EQ(back.FnMsgB[1], message);
  EXPECT_EQ(back.WPM, 31);
}

TEST(ReadSettings, RoundTripOfEverySetting) {
  Settings s;
  for (int i = 0; i < kMessageCount; ++i) {
    s.FnMsgA[i] = "A" + std::to_string(i) + " \x83\x65\x83\x58\x83\x67";
    s.FnMsgB[i] = i % 2 ? "" : "  lead " + std::to_string(i);
  }
  s.FnMsgA[6] = "";
  s.MyCALL = "JA1ABC/1";
  s.WPM = 50;
  s.CqLoopInterval = 12.25f;
  s.WeightDot = 0.0f;
  s.WeightDash = 4.5f;
  s.IntervalChar = 2.0f;
  s.IntervalWord = 3.5f;
  s.PttdBefore = 100;
  s.PttdAfter = 0;
  s.Number = " 599 001";
  s.Auto = true;
  s.PTTCtrl = true;
  s.SideToneFreq = 2999;
  s.SideToneFreqIf = std::string(SideToneFreqList[0]);
  s.SideToneFreqIfIndex = 0;
  s.LogTime = true;
  Settings fresh;
  Settings back = Read(FormatSettings(s), fresh);
  EXPECT_EQ(back, s);
  EXPECT_EQ(back.SideToneFreqIf.size(), 4u);
}

}  // namespace
}  // namespace vantrel::settings
