#include "loglink/log_records.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel::loglink {
namespace {

using namespace std::string_literals;

TEST(CopyDataSendText, CallsignAndReport) {
  std::string text = CopyDataSendText("Q1ABC", 599);
  EXPECT_EQ(text, "\nQ1ABC\n\n\n599\n\n\nCW");
  EXPECT_EQ(text.size(), 17u);
}

TEST(CopyDataSendText, EmptyCallsignLeavesLineTwoEmpty) {
  std::string text = CopyDataSendText("", 599);
  EXPECT_EQ(text, "\n\n\n\n599\n\n\nCW");
  EXPECT_EQ(text.size(), 12u);
}

struct LongCall {
  std::size_t callSize;
  int report;
  std::size_t keptSize;
};

class LongCallsign : public ::testing::TestWithParam<LongCall> {};

// The text and its NUL must fit 256 bytes: 243 callsign bytes with a three-digit report.
TEST_P(LongCallsign, IsCutToFitTheBuffer) {
  std::string call(GetParam().callSize, 'A');
  std::string text = CopyDataSendText(call, GetParam().report);
  EXPECT_EQ(text, "\n" + std::string(GetParam().keptSize, 'A') + "\n\n\n" +
                      std::to_string(GetParam().report) + "\n\n\nCW");
  EXPECT_LE(text.size(), kCopyDataSendCapacity - 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, LongCallsign,
                         ::testing::Values(LongCall{243, 599, 243}, LongCall{244, 599, 243},
                                           LongCall{256, 599, 243}, LongCall{256, 5, 245},
                                           LongCall{256, -10, 243}));

// With "AB" in front, the 243rd byte would be the first half of a character.
TEST(CopyDataSendText, CutNeverSplitsADoubleByteCharacter) {
  std::string call = "AB";
  for (int i = 0; i < 127; ++i) call += "\x82\xA0"s;
  std::string text = CopyDataSendText(call, 599);
  EXPECT_EQ(text, "\n" + call.substr(0, 242) + "\n\n\n599\n\n\nCW");
}

}  // namespace
}  // namespace vantrel::loglink
