#include "operating/macro_expander.h"

#include <gtest/gtest.h>

namespace vantrel::operating {
namespace {

struct NumberCase {
  const char* before;
  const char* after;
};

class AdvanceNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(AdvanceNumberTest, KeepsTheWidthAndGrowsOnlyWhenTheValueNeedsIt) {
  EXPECT_EQ(AdvanceNumber(GetParam().before), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Counted, AdvanceNumberTest,
    testing::Values(NumberCase{"001", "002"}, NumberCase{"009", "010"}, NumberCase{"999", "1000"},
                    NumberCase{"M009", "M010"}, NumberCase{"12A34", "12A35"}, NumberCase{"1", "2"},
                    NumberCase{"9", "10"}, NumberCase{"0099", "0100"}, NumberCase{"A1", "A2"},
                    NumberCase{"5NN0019", "5NN0020"},
                    NumberCase{"99999999999999999999", "100000000000000000000"}));

INSTANTIATE_TEST_SUITE_P(Unchanged, AdvanceNumberTest,
                         testing::Values(NumberCase{"11M", "11M"}, NumberCase{"000", "000"},
                                         NumberCase{"A00", "A00"}, NumberCase{"", ""},
                                         NumberCase{"0", "0"}, NumberCase{"ABC", "ABC"}));

}  // namespace
}  // namespace vantrel::operating
