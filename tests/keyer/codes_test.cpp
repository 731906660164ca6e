#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "golden.h"
#include "keyer/code_encoder.h"
#include "keyer/code_table.h"
#include "keyer/morse_code.h"
#include "keyer/pc_keyer.h"
#include "support/temp_dir.h"

namespace vantrel::keyer {
namespace {

using vantrel::testing::Golden;
using vantrel::testing::Split;

using namespace std::string_literals;

// A few codes pinned by hand catch a wrong bit order or marker in the compile-time encoding.
TEST(MorseCode, CodesCountsProsignsAndDecoding) {
  const std::pair<std::uint8_t, std::uint8_t> pinned[] = {
      {'A', 0x60}, {'c', 0xA8}, {'0', 0xFC}, {' ', 0x80}, {'.', 0x56}, {0xB1, 0xDC}, {0xA3, 0x52}};
  for (const auto& [character, code] : pinned)
    EXPECT_EQ(kBuiltinCodes[FindCharacterIndex(character)], code) << int{character};
  EXPECT_EQ(FindCharacterIndex('a'), 26);
  EXPECT_EQ(FindCharacterIndex(0xA3), 125);
  EXPECT_EQ(FindCharacterIndex('~'), -1);
  EXPECT_EQ(kCharacterList[kKanaDecodeStart], '0');
  EXPECT_EQ(kCharacterList[kFirstKatakanaIndex], 0xB1);
  for (const auto& [code, count] :
       {std::pair{0x80, 0}, {0xC0, 1}, {0xFC, 5}, {0x01, 7}, {0xFF, 7}, {0x00, -1}})
    EXPECT_EQ(ElementCount(static_cast<std::uint8_t>(code)), count) << code;
  const std::tuple<std::uint8_t, std::uint8_t, std::optional<std::uint8_t>> merges[] = {
      {0x60, 0x50, 0x54},         {0x10, 0xB0, 0x16},         {0x80, 0xB0, 0xB0},
      {0x60, 0x80, 0x60},         {0xD8, 0xD8, std::nullopt}, {0x56, 0x40, 0x55},
      {0x56, 0x20, std::nullopt}, {0x00, 0xB0, std::nullopt}, {0x60, 0x00, std::nullopt}};
  for (const auto& [first, second, merged] : merges)
    EXPECT_EQ(MergeProsign(first, second), merged) << int{first} << "+" << int{second};
  const std::tuple<std::uint8_t, bool, int> decoded[] = {
      {0x60, false, 0},  {0x60, true, 77},  {0xB4, false, 52}, {0xB4, true, 116},
      {0xFC, true, 56},  {0x20, true, 123}, {0x80, true, 67},  {0xDC, false, 76},
      {0x01, false, -1}, {0x9E, false, -1}, {0x00, false, -1}};
  for (const auto& [code, kana, index] : decoded)
    EXPECT_EQ(FindDecodedIndex(code, kana), index) << int{code} << " kana " << kana;
}

std::uint8_t Byte(const std::string& hex) {
  return static_cast<std::uint8_t>(std::stoul(hex, nullptr, 16));
}

TEST(CodeTable, EachFileLineSetsItsSlot) {
  for (const auto& row : Golden(VANTREL_TEST_DATA "/code_table.txt")) {
    SCOPED_TRACE(row[0] + " slot " + row[1]);
    CodeTable table;
    table.Load(row[0]);
    EXPECT_EQ(table.Slot(std::stoul(row[1])).character, Byte(row[2]));
    EXPECT_EQ(table.Slot(std::stoul(row[1])).code, Byte(row[3]));
  }
  CodeTable table;
  table.Load("# .-\n# -.\nA -\nA --\n");
  EXPECT_EQ(table.Lookup('#'), 0x60);
  EXPECT_EQ(table.Lookup('A'), 0xE0);
  EXPECT_EQ(table.Lookup(0x82), kNoCode);
  EXPECT_EQ(table.SlotsUsed(), 128u);
  std::string full;
  for (std::size_t i = kCharacterCount; i < kCodeTableSize; ++i) full += "# -\n";
  table.Load(full + "$ .\nA ...\nB " + std::string(100000, '-') + "\n");
  EXPECT_EQ(table.SlotsUsed(), kCodeTableSize);
  EXPECT_EQ(table.Lookup('$'), kNoCode);
  EXPECT_EQ(table.Lookup('A'), 0x10);
  EXPECT_EQ(table.Lookup('B'), 0xFF);
}

TEST(CodeTable, LoadsTheFileAtThePathAndKeepsTheTableWhenUnreadable) {
  const settings::TempDir dir;
  const auto path = (dir.path() / kTableFileName).string();
  EXPECT_EQ(LoadCodeTable(path).SlotsUsed(), kCharacterCount);
  dir.Write(kTableFileName, "# -...-\r\na-.-\r\n");
  const CodeTable loaded = LoadCodeTable(path);
  EXPECT_EQ(loaded.Lookup('#'), 0x8C);
  EXPECT_EQ(loaded.Lookup('a'), 0xB0);
  CodeTable table;
  table.Load("# -\n");
  table.LoadFile(dir.path().string());
  EXPECT_EQ(table.Lookup('#'), 0xC0);
}

TEST(CodeEncoder, SendsTheCodesOfEachCall) {
  for (const auto& row : Golden(VANTREL_TEST_DATA "/encoder.txt")) {
    CodeTable table;
    table.Load(row[0]);
    CodeEncoder encoder;
    for (const auto& call : Split(row[1])) {
      SCOPED_TRACE(row[0] + " / " + call);
      const auto fields = Split(call, '/');
      std::string text = fields[0];
      std::replace(text.begin(), text.end(), '_', ' ');
      const char kind = fields[1][0];
      const EncodedCodes result = encoder.Encode(table, text);
      EXPECT_EQ(result.writeCommand, kind == 'S');
      EXPECT_EQ(result.postCharSent, kind != 'D');
      EXPECT_EQ(encoder.State(), kind == '1'   ? ProsignState::First
                                 : kind == '2' ? ProsignState::Second
                                               : ProsignState::Idle);
      std::array<std::uint8_t, kCodesPerCommand> codes{};
      std::istringstream in(fields[2]);
      for (unsigned i = 0, value = 0; in >> std::hex >> value; ++i) codes[i] = value;
      if (result.writeCommand) {
        EXPECT_EQ(result.codes, codes);
      }
    }
  }
}

TEST(ElementString, AppendsTheSymbolsOfEachCall) {
  for (const auto& row : Golden(VANTREL_TEST_DATA "/element_strings.txt")) {
    CodeTable table;
    table.Load(row[0]);
    std::string elementString = "x";
    BuildElementString(table, row[1], elementString);
    EXPECT_EQ(elementString, "x" + row[2]) << row[1];
  }
  const CodeTable builtin;
  std::string elementString;
  BuildElementString(builtin, "~S", elementString);
  BuildElementString(builtin, "K", elementString);
  EXPECT_EQ(elementString, "...-.-,");
}

}  // namespace
}  // namespace vantrel::keyer
