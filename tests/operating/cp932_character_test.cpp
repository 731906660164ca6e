#include "operating/operating_logic.h"

#include <gtest/gtest.h>

namespace vantrel::operating {
namespace {

TEST(FirstCharacterLengthTest, KeepsDoubleByteCharactersWhole) {
  EXPECT_EQ(FirstCharacterLength(""), 0u);
  EXPECT_EQ(FirstCharacterLength("AB"), 1u);
  EXPECT_EQ(FirstCharacterLength("\xB1\xB2"), 1u);   // half-width katakana
  EXPECT_EQ(FirstCharacterLength("\x82\xA0X"), 2u);  // hiragana a
  EXPECT_EQ(FirstCharacterLength("\xE0\x40"), 2u);   // upper lead-byte range
  EXPECT_EQ(FirstCharacterLength("\x81"), 1u);       // lead byte cut off at the end
  EXPECT_EQ(FirstCharacterLength("\xA0\x40"), 1u);
}

}  // namespace
}  // namespace vantrel::operating
