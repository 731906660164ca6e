#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "settings/settings_file.h"

namespace vantrel::settings {
namespace {

// Whatever the input, every number the reader stored lies in its range.
void ExpectSane(const Settings& s) {
  EXPECT_TRUE(kWpmRange.Contains(s.WPM));
  EXPECT_TRUE(kPttdBeforeRange.Contains(s.PttdBefore));
  EXPECT_TRUE(kPttdAfterRange.Contains(s.PttdAfter));
  EXPECT_TRUE(kSideToneFreqRange.Contains(s.SideToneFreq));
  EXPECT_TRUE(kCqLoopIntervalRange.Contains(s.CqLoopInterval));
  EXPECT_TRUE(kWeightRange.Contains(s.WeightDot));
  EXPECT_TRUE(kWeightRange.Contains(s.WeightDash));
  EXPECT_TRUE(kIntervalCharRange.Contains(s.IntervalChar));
  EXPECT_TRUE(kIntervalWordRange.Contains(s.IntervalWord));
  EXPECT_EQ(s.SideToneFreqIfIndex, SideToneFreqIfIndexOf(s.SideToneFreqIf));
}

Settings ReadBytes(const std::string& bytes) {
  Settings s;
  std::istringstream in(bytes);
  ReadSettings(s, in);
  return s;
}

class SeedFile : public testing::TestWithParam<std::string> {};

TEST_P(SeedFile, LoadsWithoutHarm) {
  std::filesystem::path dir = std::filesystem::path(VANTREL_FUZZ_SEED_DIR);
  std::ifstream in(dir / GetParam(), std::ios::binary);
  ASSERT_TRUE(in) << GetParam();
  std::string bytes(std::istreambuf_iterator<char>(in), {});
  Settings s = ReadBytes(bytes);
  ExpectSane(s);
  Settings again = ReadBytes(FormatSettings(s));
  EXPECT_EQ(again.WPM, s.WPM);
}

INSTANTIATE_TEST_SUITE_P(Fuzz, SeedFile,
                         testing::Values("binary_junk.cfg", "nul_bytes.cfg", "invalid_cp932.cfg",
                                         "no_final_newline.cfg", "stray_carriage_returns.cfg",
                                         "blanks_only.cfg"));

TEST(Fuzz, OutOfRangeAndOddNumbersInASeed) {
  std::filesystem::path dir = std::filesystem::path(VANTREL_FUZZ_SEED_DIR);
  std::ifstream in(dir / "no_final_newline.cfg", std::ios::binary);
  std::string bytes(std::istreambuf_iterator<char>(in), {});
  Settings last = ReadBytes(bytes);
  EXPECT_EQ(last.WPM, 30);
  EXPECT_EQ(last.MyCALL, "JA1");
  EXPECT_EQ(last.CqLoopInterval, 5.0f);
  EXPECT_EQ(last.WeightDot, 0.0f);
  EXPECT_EQ(last.IntervalChar, 4.0f);
  EXPECT_EQ(last.IntervalWord, 7.0f);
  EXPECT_EQ(last.PttdAfter, 200);
}

TEST(Fuzz, MultiMegabyteJunkLineWithoutLineEnd) {
  std::string bytes = "MyCALL ";
  std::mt19937 random(7);
  for (int i = 0; i < (4 << 20); ++i) bytes += static_cast<char>(random() % 255 + 1);
  Settings s = ReadBytes(bytes);
  ExpectSane(s);
}

// Random mutations of a valid file: bytes flipped, inserted and removed, lines duplicated.
TEST(Fuzz, MutatedFilesKeepEveryNumberInRange) {
  std::mt19937 random(12345);
  const std::string base = FormatSettings(Settings{});
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = base;
    int edits = 1 + static_cast<int>(random() % 20);
    for (int e = 0; e < edits; ++e) {
      std::size_t at = bytes.empty() ? 0 : random() % bytes.size();
      switch (random() % 4) {
        case 0:
          if (!bytes.empty()) bytes[at] = static_cast<char>(random());
          break;
        case 1:
          bytes.insert(at, 1, static_cast<char>(random()));
          break;
        case 2:
          if (!bytes.empty()) bytes.erase(at, 1 + random() % 8);
          break;
        default:
          bytes.insert(at, bytes.substr(at, random() % 40));
      }
    }
    ExpectSane(ReadBytes(bytes));
  }
}

}  // namespace
}  // namespace vantrel::settings
