#include "operating/macro_expander.h"

#include <gtest/gtest.h>

namespace vantrel::operating {
namespace {

struct MacroCase {
  const char* text;
  MacroValues values;
  const char* expanded;
  bool numberUsed;
};

class ExpandMacrosTest : public testing::TestWithParam<MacroCase> {};

TEST_P(ExpandMacrosTest, ReplacesTheTokensInOrder) {
  const MacroExpansion result = ExpandMacros(GetParam().text, GetParam().values);
  EXPECT_EQ(result.text, GetParam().expanded);
  EXPECT_EQ(result.numberUsed, GetParam().numberUsed);
}

const MacroValues kValues{"JA1ZZZ", "Q1ABC", 599, "001"};

INSTANTIATE_TEST_SUITE_P(
    Tokens, ExpandMacrosTest,
    testing::Values(MacroCase{"CQ DE $M K", kValues, "CQ DE JA1ZZZ K", false},
                    MacroCase{"$C UR $R ~BK", kValues, "Q1ABC UR 599 ~BK", false},
                    MacroCase{"$N $N", kValues, "001 001", true},
                    MacroCase{"$M$M$C$C", kValues, "JA1ZZZJA1ZZZQ1ABCQ1ABC", false},
                    MacroCase{"$m $c $r $n", kValues, "$m $c $r $n", false},
                    MacroCase{"$", kValues, "$", false}, MacroCase{"", kValues, "", false},
                    MacroCase{"$R", {"", "", 5, ""}, "5", false},
                    MacroCase{"$R", {"", "", 0, ""}, "0", false},
                    MacroCase{"$C", {"", "", 599, ""}, "", false}));

// A later token is found in what an earlier one put in; an earlier one is not looked for again.
INSTANTIATE_TEST_SUITE_P(
    Rescanning, ExpandMacrosTest,
    testing::Values(MacroCase{"$M", {"X$C", "Q1ABC", 599, "7"}, "XQ1ABC", false},
                    MacroCase{"$M", {"$R$N", "", 599, "7"}, "5997", true},
                    MacroCase{"$C", {"JA1ZZZ", "$M", 599, ""}, "$M", false},
                    MacroCase{"$M", {"$M", "", 599, ""}, "$M", false},
                    MacroCase{"$$MM", {"$", "", 599, ""}, "$$M", false}));

TEST(WithoutProsignMarksTest, LeavesOutEveryMark) {
  EXPECT_EQ(WithoutProsignMarks("UR 599 ~BK"), "UR 599 BK");
  EXPECT_EQ(WithoutProsignMarks("~~A~"), "A");
  EXPECT_EQ(WithoutProsignMarks("TU"), "TU");
}

}  // namespace
}  // namespace vantrel::operating
