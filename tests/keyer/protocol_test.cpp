#include <gtest/gtest.h>

#include "engine_rig.h"

namespace vantrel::keyer::testing {
namespace {

TEST(FirmwareVersion, ComesFromProductDigitsOrManufacturer) {
  const std::tuple<std::u16string, std::u16string, unsigned> cases[] = {
      {u"HALVIX KEYER 2.3", u"", 23},
      {u"xxxxxxxxxxxxx2x0", u"JA", 20},
      {u"xxxxxxxxxxxxx2", u"JA1", 10},
      {u"xxxxxxxxxxxxx2x", u"Halvix", 99},
      {u"", u"", 99},
      {std::u16string(u"xxxxxxxxxxxxx") + char16_t{0x0132} + u"x" + char16_t{0x0139}, u"", 29},
      {std::u16string(u"xxxxxxxxxxxxx") + char16_t{0xB2} + u"x3", u"J", 10},
      {u"xxxxxxxxxxxxx/x3", u"", 99},
      {u"xxxxxxxxxxxxx9x:", u"", 99},
  };
  for (const auto& [product, manufacturer, expected] : cases)
    EXPECT_EQ(FirmwareVersionFromStrings(product, manufacturer), expected);
}

TEST(Protocol, EverySetterWritesTheReportItsFirmwareTakes) {
  for (const auto& row : Golden(VANTREL_TEST_DATA "/setters.txt")) {
    SCOPED_TRACE(row[0] + ": " + row[1]);
    EngineRig rig(std::stoul(row[0]));
    rig.TakeWrites();
    EXPECT_EQ(Act(*rig.device, row[1]), std::stoi(row[4]));
    Reports expected;
    for (const auto& report : Split(row[2])) expected.push_back(Report9(report));
    EXPECT_EQ(rig.TakeWrites(), expected);
    EXPECT_EQ(Messages(rig.window.Take()), row[3]);
  }
}

TEST(Reader, ReportsPostTheirMessagesInOrder) {
  for (const auto& row : Golden(VANTREL_TEST_DATA "/reports.txt")) {
    SCOPED_TRACE(row[0] + ": " + row[2]);
    EngineRig rig(std::stoul(row[0]));
    rig.device->SetDecodeEnabled(row[1] == "1");
    Reports reports;
    for (const auto& report : Split(row[2])) reports.push_back(Report9(report));
    rig.Feed(reports);
    EXPECT_EQ(Messages(rig.window.Take()), row[3]);
  }
}

}  // namespace
}  // namespace vantrel::keyer::testing
