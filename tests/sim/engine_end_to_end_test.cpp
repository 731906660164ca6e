#include <gtest/gtest.h>

#include "keyer/cw_device.h"
#include "sim/sim_bus.h"
#include "sim_rig.h"
#include "support/manual_timer.h"
#include "support/settle.h"
#include "support/test_doubles.h"

namespace vantrel::sim {
namespace {

// The engine against one simulated interface, both on the manual clock.
struct Bench {
  platform::ManualTimerService timers;
  SimBus bus;
  platform::NullToneOutput tone;
  platform::RecordingKeyInjector keys;
  platform::RecordingWindow window;
  SimInterface& sim;
  std::unique_ptr<keyer::CCwDevice> device;
  platform::Micros origin = 0;

  explicit Bench(unsigned version) : sim(bus.Attach(timers, {.firmwareVersion = version})) {
    device = std::make_unique<keyer::CCwDevice>(
        keyer::CwDeviceServices{bus, timers, tone, keys, "/nonexistent", 10});
    device->SetTargetWindow(&window);
    SettleMs(10);
    sim.ClearHistory();
    origin = timers.Now();
  }

  void SettleMs(std::int64_t ms) {
    ASSERT_TRUE(AdvanceAndSettle(timers, bus, timers.Now() + ms * 1000));
  }
  std::string RelativeTransitions() { return LineChanges(sim.Transitions(), origin); }
};

// Firmware 23 keys the characters handed over with its own timing, as the simulator alone does
// for the same commands. Below 20 the lines go out in the command that answers the next input
// report. Changes made by the keying timers meet a report due in the same millisecond; the PTT
// raised by the call itself waits for the next report, one poll interval later.
TEST(EngineWithSimulator, KeysTheTextsOnTheSimulatorsClock) {
  const std::tuple<unsigned, std::vector<std::string>, std::string> cases[] = {
      {23, {"C", "Q"}, vantrel::testing::Golden(VANTREL_TEST_DATA "/sim_keying.txt").at(0).at(2)},
      {10, {"EE"}, "P1000 K25000 k85000 K265000 k325000 p585000"},
  };
  for (const auto& [version, texts, expected] : cases) {
    Bench bench(version);
    bench.device->SetPttDelayBefore(25);
    bench.device->SetPttDelayAfter(200);
    bench.device->SetPttControl(true);
    for (const auto& text : texts) bench.device->SendText(text);
    bench.SettleMs(2000);
    EXPECT_EQ(bench.RelativeTransitions(), expected) << version;
  }
}

TEST(EngineWithSimulator, Firmware10PaddleHeldKeysDotsUntilReleased) {
  Bench bench(10);
  bench.sim.SetPaddle(Paddle::Dot);
  bench.SettleMs(240);
  bench.sim.SetPaddle(Paddle::None);
  bench.SettleMs(300);
  EXPECT_EQ(bench.RelativeTransitions(), "K1000 k61000 K121000 k181000");
}

}  // namespace
}  // namespace vantrel::sim
