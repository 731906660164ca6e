#include "keyer/morse_code.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vantrel::keyer {
namespace {

std::string ElementsOf(std::uint8_t code) {
  std::string elements;
  while (code != kSpaceCode) {
    elements.push_back((code & 0x80) != 0 ? '-' : '.');
    code = static_cast<std::uint8_t>(code << 1);
  }
  return elements;
}

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

struct BuiltinRow {
  int index;
  std::uint8_t character;
  const char* elements;
  std::uint8_t code;
};

void PrintTo(const BuiltinRow& row, std::ostream* os) {
  *os << "index " << row.index;
}

class BuiltinCodes : public testing::TestWithParam<BuiltinRow> {};

TEST_P(BuiltinCodes, IndexHoldsCharacterAndCode) {
  const BuiltinRow& row = GetParam();
  EXPECT_EQ(kCharacterList[row.index], row.character);
  EXPECT_EQ(kBuiltinCodes[row.index], row.code);
  EXPECT_EQ(ElementsOf(row.code), row.elements);
}

INSTANTIATE_TEST_SUITE_P(
    LettersPunctuationDigits, BuiltinCodes,
    testing::Values(BuiltinRow{0, 'A', ".-", 0x60}, BuiltinRow{1, 'B', "-...", 0x88},
                    BuiltinRow{2, 'C', "-.-.", 0xA8}, BuiltinRow{3, 'D', "-..", 0x90},
                    BuiltinRow{4, 'E', ".", 0x40}, BuiltinRow{5, 'F', "..-.", 0x28},
                    BuiltinRow{6, 'G', "--.", 0xD0}, BuiltinRow{7, 'H', "....", 0x08},
                    BuiltinRow{8, 'I', "..", 0x20}, BuiltinRow{9, 'J', ".---", 0x78},
                    BuiltinRow{10, 'K', "-.-", 0xB0}, BuiltinRow{11, 'L', ".-..", 0x48},
                    BuiltinRow{12, 'M', "--", 0xE0}, BuiltinRow{13, 'N', "-.", 0xA0},
                    BuiltinRow{14, 'O', "---", 0xF0}, BuiltinRow{15, 'P', ".--.", 0x68},
                    BuiltinRow{16, 'Q', "--.-", 0xD8}, BuiltinRow{17, 'R', ".-.", 0x50},
                    BuiltinRow{18, 'S', "...", 0x10}, BuiltinRow{19, 'T', "-", 0xC0},
                    BuiltinRow{20, 'U', "..-", 0x30}, BuiltinRow{21, 'V', "...-", 0x18},
                    BuiltinRow{22, 'W', ".--", 0x70}, BuiltinRow{23, 'X', "-..-", 0x98},
                    BuiltinRow{24, 'Y', "-.--", 0xB8}, BuiltinRow{25, 'Z', "--..", 0xC8},
                    BuiltinRow{52, '(', "-.--.", 0xB4}, BuiltinRow{53, '+', ".-.-.", 0x54},
                    BuiltinRow{54, '=', "-...-", 0x8C}, BuiltinRow{55, '/', "-..-.", 0x94},
                    BuiltinRow{56, '0', "-----", 0xFC}, BuiltinRow{57, '1', ".----", 0x7C},
                    BuiltinRow{58, '2', "..---", 0x3C}, BuiltinRow{59, '3', "...--", 0x1C},
                    BuiltinRow{60, '4', "....-", 0x0C}, BuiltinRow{61, '5', ".....", 0x04},
                    BuiltinRow{62, '6', "-....", 0x84}, BuiltinRow{63, '7', "--...", 0xC4},
                    BuiltinRow{64, '8', "---..", 0xE4}, BuiltinRow{65, '9', "----.", 0xF4},
                    BuiltinRow{66, '@', ".--.-.", 0x6A}, BuiltinRow{67, ' ', "", 0x80},
                    BuiltinRow{68, '.', ".-.-.-", 0x56}, BuiltinRow{69, ',', "--..--", 0xCE},
                    BuiltinRow{70, '"', ".-..-.", 0x4A}, BuiltinRow{71, '\'', ".----.", 0x7A},
                    BuiltinRow{72, '?', "..--..", 0x32}, BuiltinRow{73, '-', "-....-", 0x86},
                    BuiltinRow{74, ')', "-.--.-", 0xB6}, BuiltinRow{75, ':', "---...", 0xE2}));

INSTANTIATE_TEST_SUITE_P(
    Katakana, BuiltinCodes,
    testing::Values(BuiltinRow{76, 0xB1, "--.--", 0xDC}, BuiltinRow{77, 0xB2, ".-", 0x60},
                    BuiltinRow{78, 0xB3, "..-", 0x30}, BuiltinRow{79, 0xB4, "-.---", 0xBC},
                    BuiltinRow{80, 0xB5, ".-...", 0x44}, BuiltinRow{81, 0xB6, ".-..", 0x48},
                    BuiltinRow{82, 0xB7, "-.-..", 0xA4}, BuiltinRow{83, 0xB8, "...-", 0x18},
                    BuiltinRow{84, 0xB9, "-.--", 0xB8}, BuiltinRow{85, 0xBA, "----", 0xF8},
                    BuiltinRow{86, 0xBB, "-.-.-", 0xAC}, BuiltinRow{87, 0xBC, "--.-.", 0xD4},
                    BuiltinRow{88, 0xBD, "---.-", 0xEC}, BuiltinRow{89, 0xBE, ".---.", 0x74},
                    BuiltinRow{90, 0xBF, "---.", 0xE8}, BuiltinRow{91, 0xC0, "-.", 0xA0},
                    BuiltinRow{92, 0xC1, "..-.", 0x28}, BuiltinRow{93, 0xC2, ".--.", 0x68},
                    BuiltinRow{94, 0xC3, ".-.--", 0x5C}, BuiltinRow{95, 0xC4, "..-..", 0x24},
                    BuiltinRow{96, 0xC5, ".-.", 0x50}, BuiltinRow{97, 0xC6, "-.-.", 0xA8},
                    BuiltinRow{98, 0xC7, "....", 0x08}, BuiltinRow{99, 0xC8, "--.-", 0xD8},
                    BuiltinRow{100, 0xC9, "..--", 0x38}, BuiltinRow{101, 0xCA, "-...", 0x88},
                    BuiltinRow{102, 0xCB, "--..-", 0xCC}, BuiltinRow{103, 0xCC, "--..", 0xC8},
                    BuiltinRow{104, 0xCD, ".", 0x40}, BuiltinRow{105, 0xCE, "-..", 0x90},
                    BuiltinRow{106, 0xCF, "-..-", 0x98}, BuiltinRow{107, 0xD0, "..-.-", 0x2C},
                    BuiltinRow{108, 0xD1, "-", 0xC0}, BuiltinRow{109, 0xD2, "-...-", 0x8C},
                    BuiltinRow{110, 0xD3, "-..-.", 0x94}, BuiltinRow{111, 0xD4, ".--", 0x70},
                    BuiltinRow{112, 0xD5, "-..--", 0x9C}, BuiltinRow{113, 0xD6, "--", 0xE0},
                    BuiltinRow{114, 0xD7, "...", 0x10}, BuiltinRow{115, 0xD8, "--.", 0xD0},
                    BuiltinRow{116, 0xD9, "-.--.", 0xB4}, BuiltinRow{117, 0xDA, "---", 0xF0},
                    BuiltinRow{118, 0xDB, ".-.-", 0x58}, BuiltinRow{119, 0xDC, "-.-", 0xB0},
                    BuiltinRow{120, 0xA6, ".---", 0x78}, BuiltinRow{121, 0xDD, ".-.-.", 0x54},
                    BuiltinRow{122, 0xB0, ".--.-", 0x6C}, BuiltinRow{123, 0xDE, "..", 0x20},
                    BuiltinRow{124, 0xDF, "..--.", 0x34}, BuiltinRow{125, 0xA3, ".-.-..", 0x52}));

TEST(BuiltinCodes, LowerCaseLettersCarryTheUpperCaseCodes) {
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
