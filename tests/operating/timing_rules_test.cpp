#include <gtest/gtest.h>

#include "operating/operating_logic.h"

namespace vantrel::operating {
namespace {

struct IntervalCase {
  float seconds;
  unsigned milliseconds;
};

class CqTimerMillisecondsTest : public testing::TestWithParam<IntervalCase> {};

TEST_P(CqTimerMillisecondsTest, TruncatesToWholeMilliseconds) {
  EXPECT_EQ(CqTimerMilliseconds(GetParam().seconds), GetParam().milliseconds);
}

INSTANTIATE_TEST_SUITE_P(Intervals, CqTimerMillisecondsTest,
                         testing::Values(IntervalCase{5.0f, 5000}, IntervalCase{2.5f, 2500},
                                         IntervalCase{0.0f, 0}, IntervalCase{60.0f, 60000},
                                         IntervalCase{0.7f, 700}, IntervalCase{1.2345f, 1234},
                                         IntervalCase{0.0009f, 0}, IntervalCase{-1.0f, 0}));

TEST(TimeStampTest, HoursMinutesSecondsAndAMark) {
  std::tm time{};
  time.tm_hour = 7;
  time.tm_min = 5;
  time.tm_sec = 9;
  EXPECT_EQ(TimeStamp(time), "07:05:09> ");
  time.tm_hour = 23;
  time.tm_min = 59;
  time.tm_sec = 59;
  EXPECT_EQ(TimeStamp(time), "23:59:59> ");
}

}  // namespace
}  // namespace vantrel::operating
