#include "keyer/morse_code.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace vantrel::keyer {
namespace {

TEST(CharacterList, HoldsLettersPunctuationDigitsSpaceAndKatakanaInOrder) {
  const std::string latin =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz(+=/0123456789@ .,\"'?-):";
  std::vector<std::uint8_t> expected(latin.begin(), latin.end());
  for (int byte = 0xB1; byte <= 0xDC; ++byte) expected.push_back(static_cast<std::uint8_t>(byte));
  for (std::uint8_t byte : {0xA6, 0xDD, 0xB0, 0xDE, 0xDF, 0xA3}) expected.push_back(byte);
  ASSERT_EQ(expected.size(), kCharacterCount);
  EXPECT_EQ(std::vector<std::uint8_t>(kCharacterList.begin(), kCharacterList.end()), expected);
}

TEST(CharacterList, KanaDecodingStartsAtTheDigitsAndKatakanaFollowTheColon) {
  EXPECT_EQ(kCharacterList[kKanaDecodeStart], '0');
  EXPECT_EQ(kCharacterList[kFirstKatakanaIndex - 1], ':');
  EXPECT_EQ(kCharacterList[kFirstKatakanaIndex], 0xB1);
}

// The built-in table is read by its element strings; a few codes pinned by hand catch a
// wrong bit order or marker in the compile-time encoding.
TEST(BuiltinCodes, ElementStringsBecomeMarkerClosedCodes) {
  const std::pair<std::uint8_t, std::uint8_t> pinned[] = {
      {'A', 0x60}, {'C', 0xA8}, {'E', 0x40}, {'T', 0xC0},  {'0', 0xFC},
      {' ', 0x80}, {'.', 0x56}, {':', 0xE2}, {0xB1, 0xDC}, {0xA3, 0x52}};
  for (const auto& [character, code] : pinned) {
    EXPECT_EQ(kBuiltinCodes[FindCharacterIndex(character)], code) << int{character};
  }
  for (int i = 0; i < 26; ++i) {
    EXPECT_EQ(kBuiltinCodes[26 + i], kBuiltinCodes[i]) << "index " << 26 + i;
  }
}

struct CountCase {
  std::uint8_t code;
  int count;
};

void PrintTo(const CountCase& c, std::ostream* os) {
  *os << "code " << int{c.code};
}

class ElementCountOf : public testing::TestWithParam<CountCase> {};

TEST_P(ElementCountOf, CountsTheBitsAboveTheMarker) {
  EXPECT_EQ(ElementCount(GetParam().code), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(Codes, ElementCountOf,
                         testing::Values(CountCase{0x80, 0}, CountCase{0x40, 1}, CountCase{0xC0, 1},
                                         CountCase{0x60, 2}, CountCase{0xFC, 5}, CountCase{0x56, 6},
                                         CountCase{0x01, 7}, CountCase{0xFF, 7},
                                         CountCase{0x00, -1}));

struct MergeCase {
  const char* name;
  std::uint8_t first;
  std::uint8_t second;
  std::optional<std::uint8_t> merged;
};

void PrintTo(const MergeCase& c, std::ostream* os) {
  *os << c.name;
}

class ProsignMerge : public testing::TestWithParam<MergeCase> {};

TEST_P(ProsignMerge, JoinsTheHalvesOrRefuses) {
  EXPECT_EQ(MergeProsign(GetParam().first, GetParam().second), GetParam().merged);
}

INSTANTIATE_TEST_SUITE_P(
    Halves, ProsignMerge,
    testing::Values(MergeCase{"AR", 0x60, 0x50, 0x54}, MergeCase{"SK", 0x10, 0xB0, 0x16},
                    MergeCase{"BT", 0x88, 0xC0, 0x8C}, MergeCase{"SpaceK", 0x80, 0xB0, 0xB0},
                    MergeCase{"ASpace", 0x60, 0x80, 0x60},
                    MergeCase{"QQEightElements", 0xD8, 0xD8, std::nullopt},
                    MergeCase{"FullStopESevenElements", 0x56, 0x40, 0x55},
                    MergeCase{"FullStopIEightElements", 0x56, 0x20, std::nullopt},
                    MergeCase{"FirstWithoutCode", 0x00, 0xB0, std::nullopt},
                    MergeCase{"SecondWithoutCode", 0x60, 0x00, std::nullopt},
                    MergeCase{"BothWithoutCode", 0x00, 0x00, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct DecodeCase {
  const char* name;
  std::uint8_t code;
  bool kanaMode;
  int index;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
  *os << c.name;
}

class DecodedIndex : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodedIndex, FindsTheFirstMatchFromTheModesStart) {
  EXPECT_EQ(FindDecodedIndex(GetParam().code, GetParam().kanaMode), GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, DecodedIndex,
    testing::Values(
        DecodeCase{"LatinA", 0x60, false, 0}, DecodeCase{"KanaI", 0x60, true, 77},
        DecodeCase{"LatinParen", 0xB4, false, 52}, DecodeCase{"KanaRu", 0xB4, true, 116},
        DecodeCase{"LatinPlus", 0x54, false, 53}, DecodeCase{"KanaN", 0x54, true, 121},
        DecodeCase{"LatinZero", 0xFC, false, 56}, DecodeCase{"KanaZero", 0xFC, true, 56},
        DecodeCase{"KanaE", 0x40, true, 104}, DecodeCase{"KanaDakuten", 0x20, true, 123},
        DecodeCase{"LatinSpace", 0x80, false, 67}, DecodeCase{"KanaSpace", 0x80, true, 67},
        DecodeCase{"LatinFullStop", 0x56, false, 68}, DecodeCase{"KanaFullStop", 0x56, true, 68},
        DecodeCase{"LatinKatakanaOnlyCode", 0xDC, false, 76},
        DecodeCase{"SevenDots", 0x01, false, -1}, DecodeCase{"Sk", 0x16, true, -1},
        DecodeCase{"KanaOn", 0x9E, false, -1}, DecodeCase{"KanaOff", 0x14, true, -1},
        DecodeCase{"NoCode", 0x00, false, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CharacterIndex, FindsListedBytesOnly) {
  EXPECT_EQ(FindCharacterIndex('A'), 0);
  EXPECT_EQ(FindCharacterIndex('a'), 26);
  EXPECT_EQ(FindCharacterIndex(' '), 67);
  EXPECT_EQ(FindCharacterIndex(0xA3), 125);
  EXPECT_EQ(FindCharacterIndex('#'), -1);
  EXPECT_EQ(FindCharacterIndex('~'), -1);
  EXPECT_EQ(FindCharacterIndex(0x00), -1);
}

}  // namespace
}  // namespace vantrel::keyer
