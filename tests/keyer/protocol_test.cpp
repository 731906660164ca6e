#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "engine_rig.h"

namespace vantrel::keyer::testing {
namespace {

struct SetterCase {
  unsigned version;
  std::function<void(CCwDevice&)> action;
  std::vector<const char*> reports;
  const char* messages = "";
};

TEST(Protocol, EverySetterWritesTheReportItsFirmwareTakes) {
  const SetterCase cases[] = {
      {20, [](auto& d) { d.SetSpeed(25); }, {"00 20 18 02 06 02 00"}},
      {22, [](auto& d) { d.SetSpeed(25); }, {"00 24 18"}},
      {23, [](auto& d) { d.SetSpeed(13); }, {"00 24 2E"}},
      {20, [](auto& d) { d.SetSpeed(5); }, {"00 20 78 02 06 02 00"}},
      {21, [](auto& d) { d.SetSpeed(50); }, {"00 24 0C"}},
      {23, [](auto& d) { d.SetSpeed(4), d.SetSpeed(51); }, {}},
      {23, [](auto& d) { d.SetDotWeight(1.5f); }, {"00 20 1E 03 06 02 07"}},
      {20, [](auto& d) { d.SetDashWeight(1.3f); }, {"00 20 1E 02 02 02 07"}},
      {21, [](auto& d) { d.SetDotWeight(5.0f); }, {"00 20 1E 0A 06 02 07"}},
      {23, [](auto& d) { d.SetDotWeight(5.01f), d.SetDashWeight(-0.1f), d.SetDotWeight(NAN); }, {}},
      {23, [](auto& d) { d.SetSidetoneIndex(7); }, {}},
      {23,
       [](auto& d) { d.SetSidetoneIndex(14), d.SetSidetoneIndex(13); },
       {"00 20 1E 02 06 02 0D"}},
      {23, [](auto& d) { d.SendSidetoneIndex(7); }, {"00 20 1E 02 06 02 07"}},
      {22, [](auto& d) { d.SendSidetoneIndex(3); }, {}},
      {23, [](auto& d) { d.SetSidetoneIndex(3); }, {"00 20 1E 02 06 02 03"}},
      {22, [](auto& d) { d.SetSidetoneIndex(3); }, {}},
      {21, [](auto& d) { d.SetPaddleReverse(true); }, {"00 26 00 00 01"}},
      {20, [](auto& d) { d.SetPaddleReverse(false); }, {"00 30 04 80 00"}},
      {20,
       [](auto& d) {
         d.SetPttControl(false), d.SetPaddleReverse(false);
         d.SetPttControl(true), d.SetPaddleReverse(true);
       },
       {"00 35 00 00", "00 30 00 A0 00", "00 30 00 80 00", "00 30 04 80 00", "00 30 04 A0 00"}},
      {22, [](auto& d) { d.SetPttControl(true); }, {"00 25 01"}},
      {23, [](auto& d) { d.SetPttControl(false); }, {"00 35 00 00", "00 25 00"}},
      {20, [](auto& d) { d.SetPttDelayBefore(25); }, {"00 22 19 C8"}},
      {23, [](auto& d) { d.SetPttDelayAfter(500); }, {"00 22 19 FF"}},
      {23, [](auto& d) { d.SetPttDelayAfter(300); }, {"00 22 19 FF"}},
      {23, [](auto& d) { d.SetPttDelayAfter(200); }, {"00 22 19 C8"}},
      {23, [](auto& d) { d.SetPttDelayBefore(101), d.SetPttDelayAfter(501); }, {}},
      {23, [](auto& d) { d.SetCharInterval(4), d.SetWordInterval(9); }, {}},
      {23,
       [](auto& d) { d.SetPttHold(true), d.SetPttHold(false); },
       {"00 35 00 01", "00 35 00 00"}},
      {20, [](auto& d) { d.SendText("CQ"); }, {"00 05 A8 D8"}, "CHAR 0 0"},
      {23, [](auto& d) { d.SendText("A"), d.SendText("~"); }, {"00 05 60"}, "CHAR 0 0, CHAR 0 0"},
      {23, [](auto& d) { d.StopSending(); }, {"00 34", "00 35 00 00"}},
      {19, [](auto& d) { d.StopSending(); }, {"00 01 0F 0F 0F 0F 0F 0F 0F"}},
      {19, [](auto& d) { d.ClearBuffer(); }, {"00 34"}},
      {19,
       [](auto& d) {
         d.SetSpeed(25), d.SetDotWeight(2), d.SetDashWeight(4), d.SetPttDelayBefore(10);
         d.SetPttDelayAfter(20), d.SetPttControl(true), d.SetPaddleReverse(false);
         d.SetSidetoneIndex(2), d.SendSidetoneIndex(3), d.SetPcSidetoneFreq(500);
       },
       {}},
      {23,
       [](auto& d) { d.SetDecodeEnabled(true), d.SetPcSidetone(true), d.SetPcSidetoneFreq(440); },
       {}},
  };
  for (const auto& c : cases) {
    EngineRig rig(c.version);
    rig.TakeWrites();
    c.action(*rig.device);
    std::vector<std::vector<std::uint8_t>> expected;
    for (const char* report : c.reports) expected.push_back(Report9(report));
    EXPECT_EQ(rig.TakeWrites(), expected) << "case " << &c - cases;
    EXPECT_EQ(Messages(rig.window.Take()), c.messages) << "case " << &c - cases;
  }
}

TEST(Protocol, RangedSettersReturnMinusOneAndKeepTheOldValue) {
  EngineRig rig(0);
  auto& d = *rig.device;
  EXPECT_EQ(d.SetSpeed(4) + d.SetSpeed(51), -2);
  EXPECT_EQ(d.GetSpeed(), 20u);
  EXPECT_EQ(d.SetSpeed(13), 0);
  EXPECT_EQ(d.GetSpeed(), 13u);
  EXPECT_EQ(d.DotLength(), 92u);
  EXPECT_EQ(d.SetDotWeight(5.0f) + d.SetDashWeight(0.0f) + d.SetPttDelayBefore(100) +
                d.SetPttDelayAfter(500) + d.SetCharInterval(10.0f) + d.SetWordInterval(20.0f),
            0);
  for (float bad : {1.99f, 10.01f}) EXPECT_EQ(d.SetCharInterval(bad), -1) << bad;
  for (float bad : {2.99f, 20.5f}) EXPECT_EQ(d.SetWordInterval(bad), -1) << bad;
  EXPECT_EQ(d.SetPttDelayBefore(101) + d.SetPttDelayAfter(501) + d.SetDotWeight(NAN), -3);
  EXPECT_EQ(d.SendText(""), -1);
  EXPECT_EQ(d.SendText("E"), 0);
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
