#include "operating/speed.h"

#include <gtest/gtest.h>

namespace vantrel::operating {
namespace {

struct ReportCase {
  unsigned halfDot;
  bool shorter;
  unsigned wpm;
  unsigned last;
  SpeedReportOutcome outcome;
};

class ApplySpeedReportTest : public testing::TestWithParam<ReportCase> {};

TEST_P(ApplySpeedReportTest, TakesOrRefusesTheInterfaceSpeed) {
  const ReportCase& c = GetParam();
  const SpeedReportOutcome outcome = ApplySpeedReport(c.halfDot, c.shorter, c.wpm, c.last);
  EXPECT_EQ(outcome.accepted, c.outcome.accepted);
  EXPECT_EQ(outcome.wpm, c.outcome.wpm);
  EXPECT_EQ(outcome.lastSpeedValue, c.outcome.lastSpeedValue);
}

INSTANTIATE_TEST_SUITE_P(Reports, ApplySpeedReportTest,
                         testing::Values(ReportCase{30, false, 25, 0, {true, 20, 30}},
                                         ReportCase{29, true, 20, 30, {true, 21, 29}},
                                         ReportCase{29, false, 20, 30, {true, 20, 29}},
                                         ReportCase{29, true, 20, 29, {true, 20, 29}},
                                         ReportCase{31, true, 20, 30, {true, 19, 31}},
                                         ReportCase{12, false, 20, 30, {true, 50, 12}},
                                         ReportCase{120, false, 20, 30, {true, 5, 120}},
                                         ReportCase{11, false, 20, 30, {false, 20, 30}},
                                         ReportCase{10, true, 20, 30, {false, 20, 30}},
                                         ReportCase{121, false, 20, 30, {false, 20, 30}},
                                         ReportCase{200, false, 20, 30, {false, 20, 30}}));

}  // namespace
}  // namespace vantrel::operating
