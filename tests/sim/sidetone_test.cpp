#include "sim/sidetone.h"

#include <gtest/gtest.h>

#include "sim/sim_bus.h"
#include "support/manual_timer.h"
#include "support/settle.h"
#include "support/test_doubles.h"

namespace vantrel::sim {
namespace {

using Op = platform::NullToneOutput::Op;
using Call = platform::NullToneOutput::Call;

TEST(SimSidetone, PitchFollowsFirmwareAndIndex) {
  struct Case {
    unsigned version, index, hz;
  };
  for (const auto& c : {Case{23, 1, 3906}, Case{23, 7, 558}, Case{23, 13, 300}, Case{23, 0, 0},
                        Case{23, 14, 0}, Case{22, 3, 558}, Case{20, 0, 558}, Case{10, 7, 0}}) {
    EXPECT_EQ(SidetoneHz(c.version, c.index), c.hz) << c.version << "/" << c.index;
  }
}

TEST(SimSidetone, OpensOncePerPitchAndGatesWithTheKey) {
  platform::NullToneOutput tone;
  {
    Sidetone sidetone(tone);
    sidetone.Key(true, 558);
    sidetone.Key(false, 558);
    sidetone.Key(true, 558);
    sidetone.Key(false, 0);
    sidetone.Key(true, 0);
    sidetone.Key(true, 300);
  }
  EXPECT_EQ(tone.Take(), (std::vector<Call>{{Op::Open, 558},
                                            {Op::Start, 0},
                                            {Op::Pause, 0},
                                            {Op::Start, 0},
                                            {Op::Pause, 0},
                                            {Op::Close, 0},
                                            {Op::Open, 300},
                                            {Op::Start, 0},
                                            {Op::Close, 0}}));
}

TEST(SimSidetone, InterfaceSoundsWhileItKeys) {
  platform::ManualTimerService timers;
  platform::NullToneOutput tone;
  SimBus bus;
  auto& sim = bus.Attach(timers, {.firmwareVersion = 23});
  sim.SetSidetone(&tone);
  auto handle = bus.Open(sim.Path());
  const std::uint8_t sendE[9] = {0, 0x05, 0x40};
  handle->Write(sendE, sizeof sendE);
  timers.AdvanceMs(500);
  EXPECT_EQ(tone.Take(), (std::vector<Call>{{Op::Open, 558}, {Op::Start, 0}, {Op::Pause, 0}}));
}

}  // namespace
}  // namespace vantrel::sim
