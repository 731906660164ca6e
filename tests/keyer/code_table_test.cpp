#include "keyer/code_table.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <string>

#include "keyer/morse_code.h"

namespace vantrel::keyer {
namespace {

using namespace std::string_literals;

TEST(CodeTable, StartsWithTheBuiltInCharactersAndFreeSlots) {
  const CodeTable table;
  ASSERT_EQ(table.SlotsUsed(), kCharacterCount);
  for (std::size_t i = 0; i < kCharacterCount; ++i) {
    EXPECT_EQ(table.Slot(i).character, kCharacterList[i]) << "slot " << i;
    EXPECT_EQ(table.Slot(i).code, kBuiltinCodes[i]) << "slot " << i;
  }
  for (std::size_t i = kCharacterCount; i < kCodeTableSize; ++i) {
    EXPECT_EQ(table.Slot(i).character, 0) << "slot " << i;
    EXPECT_EQ(table.Slot(i).code, 0) << "slot " << i;
  }
}

TEST(CodeTable, LooksUpBuiltInCodesAndMissesOthers) {
  const CodeTable table;
  EXPECT_EQ(table.Lookup('C'), 0xA8);
  EXPECT_EQ(table.Lookup('c'), 0xA8);
  EXPECT_EQ(table.Lookup(' '), 0x80);
  EXPECT_EQ(table.Lookup(0xB1), 0xDC);
  EXPECT_EQ(table.Lookup('#'), kNoCode);
  EXPECT_EQ(table.Lookup('~'), kNoCode);
  EXPECT_EQ(table.Lookup(0x82), kNoCode);
  EXPECT_EQ(table.Lookup(0x00), kNoCode);
}

struct LineCase {
  const char* name;
  std::string file;
  std::size_t slot;
  std::uint8_t character;
  std::uint8_t code;
};

void PrintTo(const LineCase& c, std::ostream* os) {
  *os << c.name;
}

class TableFileLine : public testing::TestWithParam<LineCase> {};

TEST_P(TableFileLine, SetsTheSlot) {
  CodeTable table;
  table.Load(GetParam().file);
  EXPECT_EQ(table.Slot(GetParam().slot).character, GetParam().character);
  EXPECT_EQ(table.Slot(GetParam().slot).code, GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TableFileLine,
    testing::Values(LineCase{"SameCodeKept", "A .-\n", 0, 'A', 0x60},
                    LineCase{"LowerCaseChanged", "a-.-\n", 26, 'a', 0xB0},
                    LineCase{"UpperCaseUntouchedByLowerCaseLine", "a-.-\n", 0, 'A', 0x60},
                    LineCase{"HashAdded", "# -...-\n", 126, '#', 0x8C},
                    LineCase{"OtherBytesSkipped", "Q --.-x\n", 16, 'Q', 0xD8},
                    LineCase{"CommentSkipped", "; any text\n", 126, 0, 0},
                    LineCase{"SemicolonNeverDefined", "; .-\n", 126, 0, 0},
                    LineCase{"EighthByteNotRead", "E ........\n", 4, 'E', 0x01},
                    LineCase{"OnlySevenBytesCount", "E x......-\n", 4, 'E', 0x02},
                    LineCase{"SevenDashes", "T -------\n", 19, 'T', 0xFF},
                    LineCase{"MiddleDotIsADot", "U \xA5\xA5-\n", 20, 'U', 0x30},
                    LineCase{"UnderscoreIsADash", "T _\n", 19, 'T', 0xC0},
                    LineCase{"NoElementSymbolGivesSpaceCode", "K xyz\n", 10, 'K', 0x80},
                    LineCase{"BlanksBeforeElements", "N \t  -.\n", 13, 'N', 0xA0},
                    LineCase{"ElementsEndAtBlank", "N -. -----\n", 13, 'N', 0xA0},
                    LineCase{"CrlfLine", "R -.-\r\n", 17, 'R', 0xB0},
                    LineCase{"CrOfCrlfIsNoElementString", "A\r\n", 0, 'A', 0x60},
                    LineCase{"LastLineWithoutNewline", "# -", 126, '#', 0xC0},
                    LineCase{"SpaceLineChangesSpaceSlot", " .-\n", 67, ' ', 0x60},
                    LineCase{"TabIsACharacter", "\t.-\n", 126, '\t', 0x60},
                    LineCase{"TildeAdded", "~ .-.-.\n", 126, '~', 0x54},
                    LineCase{"KatakanaChanged", "\xB1 .\n", 76, 0xB1, 0x40},
                    LineCase{"MissingElementsSkipped", "Z\nZ \n\n\n", 25, 'Z', 0xC8},
                    LineCase{"MissingElementsAddNothing", "#\n# \n", 126, 0, 0},
                    LineCase{"LinesAfterCommentRead", "; x\n# -\n", 126, '#', 0xC0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CodeTableFile, AddedCharactersTakeSlotsInFileOrder) {
  CodeTable table;
  table.Load("# -\n$ .\n%--\n");
  EXPECT_EQ(table.Slot(126).character, '#');
  EXPECT_EQ(table.Slot(127).character, '$');
  EXPECT_EQ(table.Slot(128).character, '%');
  EXPECT_EQ(table.Slot(128).code, 0xE0);
  EXPECT_EQ(table.SlotsUsed(), 129u);
}

TEST(CodeTableFile, FirstLineWinsForAnAddedCharacterLastForABuiltInOne) {
  CodeTable table;
  table.Load("# .-\n# -.\nA -\nA --\n");
  EXPECT_EQ(table.Lookup('#'), 0x60);
  EXPECT_EQ(table.Slot(127).character, '#');
  EXPECT_EQ(table.Slot(127).code, 0xA0);
  EXPECT_EQ(table.Lookup('A'), 0xE0);
  EXPECT_EQ(table.SlotsUsed(), 128u);
}

std::string Repeat(const std::string& line, std::size_t count) {
  std::string file;
  for (std::size_t i = 0; i < count; ++i) file += line;
  return file;
}

TEST(CodeTableFile, AdditionsBeyondTheLastSlotAreSkipped) {
  CodeTable table;
  table.Load(Repeat("# -\n", kCodeTableSize - kCharacterCount) + "$ .\nA ...\n");
  EXPECT_EQ(table.SlotsUsed(), kCodeTableSize);
  EXPECT_EQ(table.Slot(255).character, '#');
  EXPECT_EQ(table.Lookup('$'), kNoCode);
  EXPECT_EQ(table.Lookup('A'), 0x10);
  EXPECT_EQ(table.Lookup('~'), kNoCode);
}

TEST(CodeTableFile, LongLineIsReadIn255BytePieces) {
  CodeTable table;
  table.Load("A " + std::string(253, '.') + "#-.-\n");
  EXPECT_EQ(table.Lookup('A'), 0x01);
  EXPECT_EQ(table.Slot(126).character, '#');
  EXPECT_EQ(table.Slot(126).code, 0xB0);
}

TEST(CodeTableFile, VeryLongLinesStayInBounds) {
  CodeTable table;
  table.Load("B " + std::string(100000, '-') + "\n" + std::string(70000, 'x') + "\nC .\n");
  EXPECT_EQ(table.Lookup('B'), 0xFF);
  EXPECT_EQ(table.Lookup('x'), 0x80);
  EXPECT_EQ(table.Lookup('C'), 0x40);
}

TEST(CodeTableFile, NulEndsALine) {
  CodeTable table;
  table.Load("\0# .-\nB\0 .\n$ -\0.\n"s);
  EXPECT_EQ(table.Lookup('#'), kNoCode);
  EXPECT_EQ(table.Lookup('B'), 0x88);
  EXPECT_EQ(table.Lookup('$'), 0xC0);
}

std::string Junk(unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string junk;
  for (int i = 0; i < 5000; ++i) {
    const int value = byte(random);
    junk += static_cast<char>(value % 8 == 0 ? '\n' : value);
  }
  return junk;
}

void ExpectConsistent(const CodeTable& table) {
  ASSERT_LE(table.SlotsUsed(), kCodeTableSize);
  for (std::size_t i = 0; i < kCharacterCount; ++i) {
    EXPECT_EQ(table.Slot(i).character, kCharacterList[i]) << "slot " << i;
  }
  for (std::size_t i = 0; i < table.SlotsUsed(); ++i) {
    EXPECT_NE(table.Slot(i).character, 0) << "slot " << i;
    EXPECT_NE(table.Slot(i).code, kNoCode) << "slot " << i;
  }
  for (std::size_t i = table.SlotsUsed(); i < kCodeTableSize; ++i) {
    EXPECT_EQ(table.Slot(i).character, 0) << "slot " << i;
  }
}

TEST(CodeTableFile, BinaryJunkKeepsTheTableConsistent) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    CodeTable table;
    table.Load(Junk(seed) + "\nA -.-\n");
    ExpectConsistent(table);
    EXPECT_EQ(table.Lookup('A'), 0xB0);
  }
}

class CodeTableOnDisk : public testing::Test {
 protected:
  void SetUp() override {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("vantrel-" + std::string(test->name()) + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Write(const std::string& bytes) const {
    const auto path = dir_ / kTableFileName;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }

  std::filesystem::path dir_;
};

TEST_F(CodeTableOnDisk, LoadsTheFileAtThePath) {
  const CodeTable table = LoadCodeTable(Write("# -...-\r\na-.-\r\n"));
  EXPECT_EQ(table.Lookup('#'), 0x8C);
  EXPECT_EQ(table.Lookup('a'), 0xB0);
  EXPECT_EQ(table.Lookup('A'), 0x60);
}

TEST_F(CodeTableOnDisk, MissingFileLeavesTheBuiltInTable) {
  const CodeTable table = LoadCodeTable((dir_ / kTableFileName).string());
  EXPECT_EQ(table.SlotsUsed(), kCharacterCount);
  EXPECT_EQ(table.Lookup('A'), 0x60);
}

TEST_F(CodeTableOnDisk, UnreadableFileLeavesTheTableAsItIs) {
  CodeTable table;
  table.Load("# -\n");
  table.LoadFile(dir_.string());
  EXPECT_EQ(table.SlotsUsed(), kCharacterCount + 1);
  EXPECT_EQ(table.Lookup('#'), 0xC0);
}

}  // namespace
}  // namespace vantrel::keyer
