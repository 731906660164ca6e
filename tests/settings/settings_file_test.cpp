#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <clocale>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "settings/data_table.h"
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
  for (const auto& row : ReadTable(VANTREL_SETTINGS_DATA_DIR "/read_lines.txt")) {
    SCOPED_TRACE(row[0]);
    const Settings s = Read(row[0]);
    ExpectLines(FormatSettings(s), row[1]);
    if (row.size() > 2) EXPECT_EQ(s.SideToneFreqIfIndex, std::stoi(row[2]));
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
  for (const auto& row : ReadTable(VANTREL_SETTINGS_DATA_DIR "/number_texts.txt")) {
    SCOPED_TRACE(row[0]);
    EXPECT_EQ(ParseDecimal(row[0]),
              row[1] == "-" ? std::nullopt : std::optional(std::stod(row[1])));
    EXPECT_EQ(ParseUnsigned(row[0]),
              row[2] == "-" ? std::nullopt : std::optional(std::stoul(row[2])));
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
