#include <gtest/gtest.h>

#include "keyer/cw_device.h"
#include "keyer/engine_rig.h"
#include "sim/sim_bus.h"
#include "sim_rig.h"
#include "support/manual_timer.h"
#include "support/settle.h"
#include "support/test_doubles.h"

namespace vantrel::sim {
namespace {

using platform::Micros;

using keyer::testing::WaitUntil;

// The engine against one simulated interface, both on the manual clock.
struct Bench {
  platform::ManualTimerService timers;
  SimBus bus;
  platform::NullToneOutput tone;
  platform::RecordingKeyInjector keys;
  platform::RecordingWindow window;
  SimInterface& sim;
  std::unique_ptr<keyer::CCwDevice> device;

  explicit Bench(unsigned version) : sim(bus.Attach(timers, {.firmwareVersion = version})) {
    device = std::make_unique<keyer::CCwDevice>(
        keyer::CwDeviceServices{bus, timers, tone, keys, "/nonexistent", 10});
    device->SetTargetWindow(&window);
    Settle(timers.Now() + 10'000);
    sim.ClearHistory();
  }
  ~Bench() { device.reset(); }

  void Settle(Micros target) { ASSERT_TRUE(AdvanceAndSettle(timers, bus, target)); }
  void SettleMs(std::int64_t ms) { Settle(timers.Now() + ms * 1000); }
  std::vector<LineTransition> RelativeTransitions(Micros origin) {
    auto transitions = sim.Transitions();
    for (auto& t : transitions) t.at -= origin;
    return transitions;
  }
};

TEST(EngineWithSimulator, Firmware23KeysHandedOverCharactersWithItsOwnTiming) {
  Bench bench(23);
  bench.device->SetPttDelayBefore(25);
  bench.device->SetPttDelayAfter(200);
  bench.device->SetPttControl(true);
  const Micros origin = bench.timers.Now();
  bench.device->SendText("C");
  bench.device->SendText("Q");
  bench.SettleMs(2000);
  EXPECT_EQ(bench.RelativeTransitions(origin), kCqAtTwentyWpm);
}

// Below 20 the lines go out in the command that answers the next input report. Changes made by
// the keying timers meet a report due in the same millisecond; the PTT raised by the call
// itself waits for the next report, one poll interval later.
TEST(EngineWithSimulator, Firmware10PlaysThePcTimedElementsAtTheirMillisecond) {
  Bench bench(10);
  bench.device->SetPttControl(true);
  const Micros origin = bench.timers.Now();
  bench.device->SendText("EE");
  bench.SettleMs(700);
  EXPECT_EQ(bench.RelativeTransitions(origin),
            (Transitions{Ptt(1000, true), Key(25'000, true), Key(85'000, false), Key(265'000, true),
                         Key(325'000, false), Ptt(585'000, false)}));
}

TEST(EngineWithSimulator, Firmware10PaddleHeldKeysDotsUntilReleased) {
  Bench bench(10);
  const Micros origin = bench.timers.Now();
  bench.sim.SetPaddle(Paddle::Dot);
  bench.SettleMs(240);
  bench.sim.SetPaddle(Paddle::None);
  bench.SettleMs(300);
  const auto transitions = bench.RelativeTransitions(origin);
  ASSERT_EQ(transitions.size(), 4u);
  EXPECT_EQ(transitions[1].at - transitions[0].at, 60'000);
  EXPECT_EQ(transitions[2].at - transitions[1].at, 60'000);
}

TEST(EngineWithSimulator, UnplugMidCharacterReleasesTheLinesAndTheNextCommandReopens) {
  for (unsigned version : {10u, 23u}) {
    Bench bench(version);
    bench.device->SetPttControl(true);
    bench.device->SendText("PARIS");
    bench.SettleMs(100);
    ASSERT_TRUE(bench.sim.IsOn(Line::Ptt)) << version;
    bench.sim.Unplug();
    bench.SettleMs(100);
    EXPECT_FALSE(bench.sim.IsOn(Line::Key));
    EXPECT_FALSE(bench.sim.IsOn(Line::Ptt));
    // The reader learns of the unplug from its failed read, on its own thread.
    EXPECT_TRUE(WaitUntil([&] { return bench.device->ReaderThreadCount() == 0; }));
    EXPECT_EQ(bench.device->FirmwareVersion(), 0u);
    bench.sim.Plug();
    bench.device->StopSending();
    EXPECT_EQ(bench.device->FirmwareVersion(), version);
    EXPECT_EQ(bench.device->ReaderThreadCount(), 1u);
    bench.SettleMs(1000);
    EXPECT_FALSE(bench.sim.IsOn(Line::Key));
    EXPECT_FALSE(bench.sim.IsOn(Line::Ptt));
  }
}

TEST(EngineWithSimulator, TeardownWithASilentOrVanishedInterfaceFinishes) {
  for (bool unplug : {false, true}) {
    Bench bench(23);
    if (unplug) bench.sim.Unplug();
    bench.device.reset();
    EXPECT_FALSE(bench.sim.IsOn(Line::Key));
  }
}

}  // namespace
}  // namespace vantrel::sim
