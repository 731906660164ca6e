#include <gtest/gtest.h>

#include <cmath>

#include "engine_rig.h"

namespace vantrel::keyer::testing {
namespace {

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

TEST(Protocol, RangedSettersKeepTheOldValueWhenOutOfRange) {
  EngineRig rig(0);
  auto& d = *rig.device;
  EXPECT_EQ(d.SetSpeed(4) + d.SetSpeed(51), -2);
  EXPECT_EQ(d.GetSpeed(), 20u);
  EXPECT_EQ(d.SetSpeed(13), 0);
  EXPECT_EQ(d.GetSpeed(), 13u);
  EXPECT_EQ(d.DotLength(), 92u);
}

TEST(Protocol, PcSidetoneFrequencyReopensOnlyForANewValueInRange) {
  EngineRig rig(0);
  using Op = platform::NullToneOutput::Op;
  EXPECT_EQ(rig.tone.Take(), (std::vector<platform::NullToneOutput::Call>{{Op::Open, 880}}));
  for (unsigned hz : {880u, 99u, 4001u}) rig.device->SetPcSidetoneFreq(hz);
  EXPECT_TRUE(rig.tone.Take().empty());
  rig.device->SetPcSidetoneFreq(100);
  rig.device->SetPcSidetoneFreq(4000);
  EXPECT_EQ(rig.tone.Take(),
            (std::vector<platform::NullToneOutput::Call>{
                {Op::Close, 0}, {Op::Open, 100}, {Op::Close, 0}, {Op::Open, 4000}}));
}

}  // namespace
}  // namespace vantrel::keyer::testing
