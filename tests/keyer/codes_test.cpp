#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "keyer/code_encoder.h"
#include "keyer/code_table.h"
#include "keyer/morse_code.h"
#include "keyer/pc_keyer.h"
#include "settings/data_table.h"
#include "split.h"
#include "support/temp_dir.h"

namespace vantrel::keyer {
namespace {

using vantrel::testing::Split;

std::uint8_t Byte(const std::string& hex) {
  return static_cast<std::uint8_t>(std::stoul(hex, nullptr, 16));
}

TEST(MorseCode, CodesCountsProsignsAndDecoding) {
  for (const auto& row : ReadTable(VANTREL_TEST_DATA "/morse.txt")) {
    SCOPED_TRACE(row[0] + " " + row[1]);
    const auto args = Split(row[1], ' ');
    const std::uint8_t first = Byte(args[0]);
    int result = 0;
    if (row[0] == "code") result = kBuiltinCodes[FindCharacterIndex(first)];
    if (row[0] == "index") result = FindCharacterIndex(first);
    if (row[0] == "count") result = ElementCount(first);
    if (row[0] == "merge")
      result = std::optional<int>(MergeProsign(first, Byte(args[1]))).value_or(-1);
    if (row[0] == "decode") result = FindDecodedIndex(first, args[1] == "1");
    EXPECT_EQ(result, std::stoi(row[2], nullptr, 0));
  }
  EXPECT_EQ(kCharacterList[kKanaDecodeStart], '0');
  EXPECT_EQ(kCharacterList[kFirstKatakanaIndex], 0xB1);
}

TEST(CodeTable, EachFileLineSetsItsSlot) {
  for (const auto& row : ReadTable(VANTREL_TEST_DATA "/code_table.txt")) {
    SCOPED_TRACE(row[0] + " slot " + row[1]);
    CodeTable table;
    table.Load(row[0]);
    EXPECT_EQ(table.Slot(std::stoul(row[1])).character, Byte(row[2]));
    EXPECT_EQ(table.Slot(std::stoul(row[1])).code, Byte(row[3]));
    EXPECT_EQ(table.Lookup(Byte(row[2])), Byte(row[4]));
    EXPECT_EQ(table.SlotsUsed(), std::stoul(row[5]));
  }
}

TEST(CodeTable, LoadsTheFileAtThePathAndKeepsTheTableWhenUnreadable) {
  const settings::TempDir dir;
  const auto path = (dir.path() / kTableFileName).string();
  EXPECT_EQ(LoadCodeTable(path).SlotsUsed(), kCharacterCount);
  dir.Write(kTableFileName, "# -...-\r\n");
  EXPECT_EQ(LoadCodeTable(path).Lookup('#'), 0x8C);
  CodeTable table;
  table.Load("# -\n");
  table.LoadFile(dir.path().string());
  EXPECT_EQ(table.Lookup('#'), 0xC0);
}

TEST(CodeEncoder, SendsTheCodesOfEachCall) {
  for (const auto& row : ReadTable(VANTREL_TEST_DATA "/encoder.txt")) {
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
  for (const auto& row : ReadTable(VANTREL_TEST_DATA "/element_strings.txt")) {
    CodeTable table;
    table.Load(row[0]);
    std::string elementString = "x";
    BuildElementString(table, row[1], elementString);
    EXPECT_EQ(elementString, "x" + row[2]) << row[1];
  }
}

}  // namespace
}  // namespace vantrel::keyer
