#include "sim/firmware_strings.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vantrel::sim {
namespace {

// How a host reads the version back: digits at 13 and 15, else 'J' → 10, else 99.
unsigned ReadBack(const VersionStrings& strings) {
  const auto digit = [&](std::size_t i) {
    return i < strings.product.size() && strings.product[i] >= u'0' && strings.product[i] <= u'9';
  };
  if (digit(13) && digit(15))
    return 10 * (strings.product[13] - u'0') + (strings.product[15] - u'0');
  if (!strings.manufacturer.empty() && strings.manufacturer[0] == u'J') return 10;
  return 99;
}

TEST(FirmwareStrings, EachVersionReadsBack) {
  for (unsigned version : {0u, 10u, 19u, 20u, 21u, 22u, 23u, 45u, 99u}) {
    EXPECT_EQ(ReadBack(StringsForVersion(version)), version) << version;
  }
}

TEST(FirmwareStrings, VersionTwentyThreeHasItsDigitsAtThirteenAndFifteen) {
  const auto strings = StringsForVersion(23);
  EXPECT_EQ(strings.product, u"Halvix Keyer 2.3");
  EXPECT_EQ(strings.product[13], u'2');
  EXPECT_EQ(strings.product[15], u'3');
  EXPECT_NE(strings.manufacturer[0], u'J');
}

TEST(FirmwareStrings, TenComesFromTheManufacturerAndNinetyNineFromNeither) {
  const auto ten = StringsForVersion(10);
  EXPECT_LT(ten.product.size(), 16u);
  EXPECT_EQ(ten.manufacturer[0], u'J');
  const auto ninetyNine = StringsForVersion(99);
  EXPECT_LT(ninetyNine.product.size(), 16u);
  EXPECT_NE(ninetyNine.manufacturer[0], u'J');
}

TEST(FirmwareStrings, RefusesAVersionAboveNinetyNine) {
  EXPECT_THROW(StringsForVersion(100), std::invalid_argument);
}

}  // namespace
}  // namespace vantrel::sim
