#include "settings/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

namespace vantrel::settings {
namespace {

TEST(LeadingNumbers, ReadLikeTheCConversions) {
  EXPECT_EQ(LeadingInteger(" 42abc"), 42);
  EXPECT_EQ(LeadingInteger("-7"), -7);
  EXPECT_EQ(LeadingInteger("+8"), 8);
  EXPECT_EQ(LeadingInteger("x"), 0);
  EXPECT_EQ(LeadingInteger(""), 0);
  EXPECT_EQ(LeadingDecimal(" 2.5s"), 2.5);
  EXPECT_EQ(LeadingDecimal("1e1"), 10.0);
  EXPECT_EQ(LeadingDecimal("x"), 0.0);
  EXPECT_EQ(LeadingDecimal("3,5"), 3.0);
  EXPECT_TRUE(std::isnan(LeadingDecimal("nan")));
}

TEST(LeadingNumbers, DecimalPointIgnoresTheProcessLocale) {
  const char* changed = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_EQ(LeadingDecimal("2.5"), 2.5);
  EXPECT_EQ(FormatSixDecimals(2.5), "2.500000");
  if (changed) std::setlocale(LC_NUMERIC, "C");
}

struct ParseCase {
  const char* text;
  std::optional<double> decimal;
  std::optional<unsigned long> whole;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
  *os << '"' << c.text << '"';
}

class ParseField : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseField, AcceptsOnlyAWholeNumberText) {
  EXPECT_EQ(ParseDecimal(GetParam().text), GetParam().decimal) << GetParam().text;
  EXPECT_EQ(ParseUnsigned(GetParam().text), GetParam().whole) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(NumberText, ParseField,
                         testing::Values(ParseCase{"60", 60.0, 60}, ParseCase{" 60 ", 60.0, 60},
                                         ParseCase{"60.1", 60.1, std::nullopt},
                                         ParseCase{"", std::nullopt, std::nullopt},
                                         ParseCase{"  ", std::nullopt, std::nullopt},
                                         ParseCase{"-1", -1.0, std::nullopt},
                                         ParseCase{"+1", 1.0, std::nullopt},
                                         ParseCase{"1x", std::nullopt, std::nullopt},
                                         ParseCase{"x", std::nullopt, std::nullopt},
                                         ParseCase{"1 2", std::nullopt, std::nullopt},
                                         ParseCase{"99999999999999999999999", 1e23, std::nullopt}));

TEST(FormatNumbers, SixDecimalsAndShortForm) {
  EXPECT_EQ(FormatSixDecimals(5.0), "5.000000");
  EXPECT_EQ(FormatSixDecimals(static_cast<double>(0.1f)), "0.100000");
  EXPECT_EQ(FormatShortDecimal(5.0), "5");
  EXPECT_EQ(FormatShortDecimal(0.5), "0.5");
  EXPECT_EQ(FormatShortDecimal(static_cast<double>(0.1f)), "0.1");
  EXPECT_EQ(FormatShortDecimal(1.0 / 3.0), "0.333333");
  EXPECT_EQ(FormatShortDecimal(12.25), "12.25");
}

}  // namespace
}  // namespace vantrel::settings
