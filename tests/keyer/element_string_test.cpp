#include "keyer/pc_keyer.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace vantrel::keyer {
namespace {

struct ElementCase {
  const char* name;
  std::string tableFile;
  std::string text;
  std::string elements;
};

void PrintTo(const ElementCase& c, std::ostream* os) {
  *os << c.name;
}

class ElementString : public testing::TestWithParam<ElementCase> {};

TEST_P(ElementString, AppendsTheSymbolsOfOneCall) {
  CodeTable table;
  table.Load(GetParam().tableFile);
  std::string elementString = "x";
  BuildElementString(table, GetParam().text, elementString);
  EXPECT_EQ(elementString, "x" + GetParam().elements);
}

INSTANTIATE_TEST_SUITE_P(
    BuiltInTable, ElementString,
    testing::Values(ElementCase{"CQ", "", "CQ", "-.-.,--.-,"},
                    ElementCase{"WordGap", "", "A B", ".-_-...,"},
                    ElementCase{"HiHi", "", "HI HI", "....,.._....,..,"},
                    ElementCase{"ProsignThenWord", "", "~AR K", ".-.-._-.-,"},
                    ElementCase{"ProsignAtEnd", "", "~SK", "...-.-"},
                    ElementCase{"MissDroppedWithoutGap", "", "A#B", ".-,-...,"},
                    ElementCase{"Empty", "", "", ""},
                    ElementCase{"LowerCaseSameAsUpper", "", "cq", "-.-.,--.-,"},
                    ElementCase{"LeadingSpace", "", " E", "_.,"},
                    ElementCase{"TwoSpaces", "", "A  B", ".-__-...,"},
                    ElementCase{"TrailingSpace", "", "E ", "._"},
                    ElementCase{"MissBeforeSpace", "", "E# T", ".,_-,"},
                    ElementCase{"TildeAlone", "", "~", ""},
                    ElementCase{"GapBeforeTilde", "", "K~AR", "-.-,.-.-."},
                    ElementCase{"ProsignEndsAtSpaceOnly", "", "~A~R", ".-.-."},
                    ElementCase{"Katakana", "", "\xB1\xB2", "--.--,.-,"},
                    ElementCase{"DoubleByteCharacterDropped", "", "\x82\xA0", ""}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    WithTableFile, ElementString,
    testing::Values(ElementCase{"AddedCharacterSent", "# -...-\n", "A#B", ".-,-...-,-...,"},
                    ElementCase{"LowerCaseLineChangesOnlyLowerCase", "a -.-\n", "aA", "-.-,.-,"},
                    ElementCase{"SpaceLineChangesNothing", " .-\n", "A B", ".-_-...,"},
                    ElementCase{"TildeLineChangesNothing", "~ .-\n", "~SK", "...-.-"},
                    ElementCase{"SevenDashes", "T -------\n", "T", "-------,"},
                    ElementCase{"NoElementSymbols", "K x\n", "KE", ",.,"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ElementString, ProsignFlagDoesNotCarryOverToTheNextCall) {
  const CodeTable table;
  std::string elementString;
  BuildElementString(table, "~S", elementString);
  BuildElementString(table, "K", elementString);
  EXPECT_EQ(elementString, "...-.-,");
}

}  // namespace
}  // namespace vantrel::keyer
