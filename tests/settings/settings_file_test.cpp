#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <clocale>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "settings/number_text.h"

namespace vantrel::settings {
namespace {

std::string DataFile(const char* name) {
  std::ifstream in(std::string(VANTREL_SETTINGS_DATA_DIR "/") + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

Settings Read(const std::string& text, Settings settings = {}) {
  std::istringstream in(text);
  ReadSettings(settings, in);
  return settings;
}

// The two files differ in every value, so each key is written and read back in its own format.
TEST(SettingsFile, WritesTheFixedFileAndReadsItBack) {
  EXPECT_EQ(FormatSettings(Settings{}), DataFile("default.cfg"));
  EXPECT_EQ(Read(DataFile("default.cfg")), Settings{});
  const Settings every = Read(DataFile("every_value.cfg"));
  EXPECT_EQ(FormatSettings(every), DataFile("every_value.cfg"));
  EXPECT_EQ(every.SideToneFreqIfIndex, 0);
  EXPECT_EQ(every.FnMsgB[9], "  two blanks");
  EXPECT_EQ(every.CqLoopInterval, 12.25f);
}

// Each of `lines` ('\n' between them) is a whole line of `file`.
void ExpectLines(const std::string& file, const std::string& lines) {
  std::istringstream wanted(lines);
  for (std::string line; std::getline(wanted, line);) {
    EXPECT_NE(("\n" + file).find("\n" + line + "\n"), std::string::npos) << line;
  }
}

TEST(ReadSettings, EachLineIsTakenOverAsItsKeyRuleSays) {
  struct Case {
    std::string file;
    std::string written;  // the lines the settings read are written back as
    int sideToneIndex = -1;
  };
  const Case cases[] = {
      {"WPM 4\n", "WPM 20"},
      {"WPM 51\n", "WPM 20"},
      {"WPM 50\n", "WPM 50"},
      {"WPM 33abc\n", "WPM 33"},
      {"WPM x\n", "WPM 20"},
      {"WPM 99999999999999999999999\n", "WPM 20"},
      {"CqLoopInterval 60\n", "CqLoopInterval 60.000000"},
      {"CqLoopInterval 60.5\n", "CqLoopInterval 5.000000"},
      {"CqLoopInterval 1.5e1s\n", "CqLoopInterval 15.000000"},
      {"CqLoopInterval 3,5\n", "CqLoopInterval 3.000000"},
      {"CqLoopInterval nan\n", "CqLoopInterval 5.000000"},
      {"IntervalChar 1.9\n", "IntervalChar 3.000000"},
      {"IntervalWord 2.9\n", "IntervalWord 7.000000"},
      {"WeightDot x\n", "WeightDot 0.000000"},
      {"WeightDash 5.1\n", "WeightDash 3.000000"},
      {"PttdAfter x\n", "PttdAfter 0"},
      {"PttdAfter 501\n", "PttdAfter 200"},
      {"PttdBefore 101\n", "PttdBefore 25"},
      {"PttdBefore -1\n", "PttdBefore 25"},
      {"SideToneFreq 299\n", "SideToneFreq 880"},
      {"SideToneFreq 300\n", "SideToneFreq 300"},
      {"Auto TRUE\nAuto true\n", "Auto FALSE"},
      {"Auto TRUE\nAuto TRUE \n", "Auto FALSE"},
      {"LogTime TRUE\nLogTime 1\n", "LogTime FALSE"},
      {"PaddleRvs TRUE\n", "PaddleRvs TRUE\nAuto FALSE\nSideTone FALSE"},
      {"SideTone TRUE\n", "SideTone TRUE\nPTTCtrl FALSE\nLogTime FALSE"},
      {"SideToneFreqIf 3906\n", "SideToneFreqIf 3906", 1},
      {"SideToneFreqIf 300\n", "SideToneFreqIf 300", 13},
      {"SideToneFreqIf 3906\nSideToneFreqIf 1000\n", "SideToneFreqIf 1000", 7},
      {"FnMsgA03  UR\n", "FnMsgA03  UR"},
      {"FnMsgA05 X\nFnMsgA05\n", "FnMsgA05 "},
      {"FnMsgB10 X\nFnMsgB10 \n", "FnMsgB10 "},
      {"FnMsgA1 X\nFnMsgA11 Y\nFnMsgA00 Z\n", "FnMsgA01 \nFnMsgA10 "},
      {" WPM 21\n", "WPM 21"},
      {"wpm 30\nmycall X\n", "WPM 20\nMyCALL N0CALL"},
      {"MyCALL  JA1 \nNumber 5NN \n", "MyCALL  JA1 \nNumber 5NN "},
      {"MyCALL\tAB\n", "MyCALL AB"},
      {"WPM 30\nWPM 40\n", "WPM 40"},
      {"MyCALL JA1\r\nWPM 30\r\nAuto TRUE\r\n", "MyCALL JA1\nWPM 30\nAuto TRUE"},
      {"WPM 30\nMyCALL JA2", "WPM 30\nMyCALL JA2"},
      {std::string("MyCALL JA\0ZZ\nWPM 3\0"
                   "0\n",
                   19),
       "MyCALL JA\nWPM 20"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const Settings s = Read(c.file);
    ExpectLines(FormatSettings(s), c.written);
    if (c.sideToneIndex >= 0) EXPECT_EQ(s.SideToneFreqIfIndex, c.sideToneIndex);
  }
  EXPECT_EQ(Read("Vantrel.cfg\nFoo 1\n\n   \n\t\nWPMX 30\n"), Settings{});
  Settings before;
  before.MyCALL = "JA1";
  EXPECT_EQ(Read("WPM 40\n", before).MyCALL, "JA1");
}

TEST(ReadSettings, LongLinesAreKeptWholeAndTheirTailIsNeverAKey) {
  Settings s;
  s.FnMsgA[0] = std::string(246, 'A') + " WPM 5 abZ";
  Settings back = Read(FormatSettings(s));
  EXPECT_EQ(back.FnMsgA[0], s.FnMsgA[0]);
  EXPECT_EQ(back.WPM, 20);
  const std::string huge(3 << 20, 'x');
  back = Read("FnMsgB02 " + huge + "\nWPM 31\n");
  EXPECT_EQ(back.FnMsgB[1], huge);
  EXPECT_EQ(back.WPM, 31);
}

TEST(NumberText, FieldTextMustBeOneWholeNumber) {
  struct Case {
    const char* text;
    std::optional<double> decimal;
    std::optional<unsigned long> whole;
  };
  const Case cases[] = {
      {"60", 60.0, 60},
      {" 60 ", 60.0, 60},
      {"\t7\r", 7.0, 7},
      {"60.1", 60.1, std::nullopt},
      {"", std::nullopt, std::nullopt},
      {"  ", std::nullopt, std::nullopt},
      {"-1", -1.0, std::nullopt},
      {"+1", 1.0, std::nullopt},
      {"1x", std::nullopt, std::nullopt},
      {"1 2", std::nullopt, std::nullopt},
      {"99999999999999999999999", 1e23, std::nullopt},
      {"1e999", std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseDecimal(c.text), c.decimal);
    EXPECT_EQ(ParseUnsigned(c.text), c.whole);
  }
}

TEST(NumberText, ShortFormAndSixDecimalsIgnoreTheProcessLocale) {
  const char* changed = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_EQ(LeadingDecimal("2.5"), 2.5);
  EXPECT_EQ(ParseDecimal("2.5"), 2.5);
  EXPECT_EQ(FormatSixDecimals(2.5), "2.500000");
  const std::pair<double, const char*> shown[] = {
      {5.0, "5"}, {0.5, "0.5"}, {0.1f, "0.1"}, {1.0 / 3.0, "0.333333"}, {12.25, "12.25"}};
  for (const auto& [value, text] : shown) EXPECT_EQ(FormatShortDecimal(value), text);
  if (changed) std::setlocale(LC_NUMERIC, "C");
}

}  // namespace
}  // namespace vantrel::settings
