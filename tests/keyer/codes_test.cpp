#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "keyer/code_encoder.h"
#include "keyer/code_table.h"
#include "keyer/morse_code.h"
#include "keyer/pc_keyer.h"
#include "support/temp_dir.h"

namespace vantrel::keyer {
namespace {

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

TEST(CodeTable, EachFileLineSetsItsSlot) {
  struct Case {
    std::string file;
    std::size_t slot;
    std::uint8_t character, code;
  };
  const Case cases[] = {{"", 2, 'C', 0xA8},
                        {"", 126, 0, 0},
                        {"a-.-\n", 26, 'a', 0xB0},
                        {"a-.-\n", 0, 'A', 0x60},
                        {"# -...-\n", 126, '#', 0x8C},
                        {"Q --.-x\n", 16, 'Q', 0xD8},
                        {"; .-\n", 126, 0, 0},
                        {"E ........\n", 4, 'E', 0x01},
                        {"E x......-\n", 4, 'E', 0x02},
                        {"T -------\n", 19, 'T', 0xFF},
                        {"U \xA5\xA5-\n", 20, 'U', 0x30},
                        {"T _\n", 19, 'T', 0xC0},
                        {"K xyz\n", 10, 'K', 0x80},
                        {"N \t  -. ---\n", 13, 'N', 0xA0},
                        {"R -.-\r\n", 17, 'R', 0xB0},
                        {"A\r\n", 0, 'A', 0x60},
                        {"# -", 126, '#', 0xC0},
                        {" .-\n", 67, ' ', 0x60},
                        {"\t.-\n", 126, '\t', 0x60},
                        {"Z\nZ \n#\n", 25, 'Z', 0xC8},
                        {"#\n# \n", 126, 0, 0},
                        {"; x\n# -\n", 126, '#', 0xC0},
                        {"# -\n$ .\n%--\n", 128, '%', 0xE0},
                        {"# .-\n# -.\n", 127, '#', 0xA0},
                        {"A " + std::string(253, '.') + "#-.-\n", 126, '#', 0xB0},
                        {"A " + std::string(253, '.') + "#-.-\n", 0, 'A', 0x01},
                        {"\0# .-\nB\0 .\n$ -\0.\n"s, 126, '$', 0xC0},
                        {"\0# .-\nB\0 .\n"s, 1, 'B', 0x88}};
  for (const auto& c : cases) {
    CodeTable table;
    table.Load(c.file);
    EXPECT_EQ(table.Slot(c.slot).character, c.character) << c.file;
    EXPECT_EQ(table.Slot(c.slot).code, c.code) << c.file;
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

// Each call's kind: 'S' sent with its codes, '1' or '2' the first or second prosign half
// held, 'D' a prosign dropped without a command or a message.
TEST(CodeEncoder, SendsTheCodesOfEachCall) {
  struct Call {
    std::string text;
    char kind;
    std::vector<std::uint8_t> codes = {};
  };
  const std::pair<std::string, std::vector<Call>> cases[] = {
      {"", {{"A", 'S', {0x60}}, {"c", 'S', {0xA8}}, {"#", 'S', {0}}, {"\xB1", 'S', {0xDC}}}},
      {"", {{"ABCDEFGH", 'S', {0x60, 0x88, 0xA8, 0x90, 0x40, 0x28, 0xD0}}, {"", 'S'}}},
      {"", {{"ABCDEFG~", 'S', {0x60, 0x88, 0xA8, 0x90, 0x40, 0x28, 0xD0}}, {"E", 'S', {0x40}}}},
      {"", {{"~", '1'}, {"A", '2'}, {"RK", 'S', {0x54, 0xB0}}, {" ", 'S', {0x80}}}},
      {"", {{"~", '1'}, {" ", '2'}, {"K", 'S', {0xB0}}}},
      {"", {{"~", '1'}, {"Q", '2'}, {"Q", 'D'}, {"A", 'S', {0x60}}}},
      {"", {{"~", '1'}, {"#", '2'}, {"A", 'D'}}},
      {"", {{"~", '1'}, {"A", '2'}, {"#", 'D'}}},
      {"", {{"A~", '1'}, {"A", '2'}, {"~", '1'}, {"S", '2'}, {"K", 'S', {0x16}}}},
      {"# .\n", {{"~", '1'}, {"#", '2'}, {"T", 'S', {0x60}}}},
      {"a -.-\n~ .-\n", {{"aA", 'S', {0xB0, 0x60}}, {"~", '1'}}},
  };
  for (const auto& [file, calls] : cases) {
    CodeTable table;
    table.Load(file);
    CodeEncoder encoder;
    for (const Call& call : calls) {
      SCOPED_TRACE(file + " / " + call.text);
      const EncodedCodes result = encoder.Encode(table, call.text);
      EXPECT_EQ(result.writeCommand, call.kind == 'S');
      EXPECT_EQ(result.postCharSent, call.kind != 'D');
      EXPECT_EQ(encoder.State(), call.kind == '1'   ? ProsignState::First
                                 : call.kind == '2' ? ProsignState::Second
                                                    : ProsignState::Idle);
      std::array<std::uint8_t, kCodesPerCommand> codes{};
      std::copy(call.codes.begin(), call.codes.end(), codes.begin());
      if (result.writeCommand) {
        EXPECT_EQ(result.codes, codes);
      }
    }
  }
}

TEST(ElementString, AppendsTheSymbolsOfEachCall) {
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"", "CQ", "-.-.,--.-,"},     {"", "A  B", ".-__-...,"}, {"", "~AR K", ".-.-._-.-,"},
      {"", "A#B", ".-,-...,"},      {"", " E", "_.,"},         {"", "E# T", ".,_-,"},
      {"", "K~AR", "-.-,.-.-."},    {"", "~A~R", ".-.-."},     {"", "\xB1\x82\xA0", "--.--,"},
      {"# -...-\n", "#", "-...-,"}, {"K x\n", "KE", ",.,"},    {"", "~S", "..."}};
  const CodeTable builtin;
  for (const auto& [file, text, elements] : cases) {
    CodeTable table;
    table.Load(file);
    std::string elementString = "x";
    BuildElementString(table, text, elementString);
    EXPECT_EQ(elementString, "x" + elements) << text;
  }
  std::string elementString;
  BuildElementString(builtin, "~S", elementString);
  BuildElementString(builtin, "K", elementString);
  EXPECT_EQ(elementString, "...-.-,");
}

}  // namespace
}  // namespace vantrel::keyer
