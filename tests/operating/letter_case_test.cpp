#include "operating/key_handling.h"

#include <gtest/gtest.h>

namespace vantrel::operating {
namespace {

struct CaseRule {
  const char* typed;
  bool shift;
  const char* result;
};

class ApplyShiftCaseTest : public testing::TestWithParam<CaseRule> {};

TEST_P(ApplyShiftCaseTest, OnlyShiftDecides) {
  EXPECT_EQ(ApplyShiftCase(GetParam().typed, GetParam().shift), GetParam().result);
}

// With Caps Lock on the typed letter arrives in the other case; the result must not change.
INSTANTIATE_TEST_SUITE_P(
    Letters, ApplyShiftCaseTest,
    testing::Values(CaseRule{"a", false, "A"}, CaseRule{"A", false, "A"}, CaseRule{"z", false, "Z"},
                    CaseRule{"A", true, "a"}, CaseRule{"a", true, "a"}, CaseRule{"Z", true, "z"},
                    CaseRule{"1", false, "1"}, CaseRule{"!", true, "!"},
                    CaseRule{"\b", false, "\b"}, CaseRule{"\xB1", false, "\xB1"},
                    CaseRule{"\xB1", true, "\xB1"}, CaseRule{"\x82\xA0", false, "\x82\xA0"},
                    CaseRule{"@", true, "@"}, CaseRule{"[", false, "["}));

}  // namespace
}  // namespace vantrel::operating
