#include <gtest/gtest.h>

#include <thread>

#include "sim_rig.h"

namespace vantrel::sim {
namespace {

TEST(SimBus, EnumeratesInAttachOrderWithTheHalvixIds) {
  platform::ManualTimerService timers;
  SimBus bus;
  bus.Attach(timers, {.firmwareVersion = 23});
  bus.Attach(timers, {.firmwareVersion = 10});
  const auto found = bus.Enumerate();
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].path, "sim:0");
  EXPECT_EQ(found[1].path, "sim:1");
  for (const auto& info : found) {
    EXPECT_EQ(info.vendorId, 0x0BFE);
    EXPECT_EQ(info.productId, 0x0E00);
  }
  EXPECT_EQ(bus.Open("sim:1")->ManufacturerString()[0], u'J');
  EXPECT_EQ(bus.Open("sim:2"), nullptr);
}

TEST(SimBus, HandlesReportNineByteLengthsAndTheVersionStrings) {
  SimRig rig({.firmwareVersion = 22});
  EXPECT_EQ(rig.handle->InputReportLength(), 9u);
  EXPECT_EQ(rig.handle->OutputReportLength(), 9u);
  EXPECT_EQ(rig.handle->ProductString(), u"Halvix Keyer 2.2");
  EXPECT_EQ(rig.handle->ManufacturerString(), u"Halvix Works");
}

TEST(SimBus, RecordsEveryCommandWithItsTimeFromAnyHandle) {
  SimRig rig;
  auto second = rig.bus.Open(rig.device.Path());
  rig.timers.AdvanceTo(1500);
  ASSERT_TRUE(rig.Send({0x24, 0x1E}));
  rig.timers.AdvanceTo(2750);
  const Report teardown{0, 0x02, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F, 0x0F};
  ASSERT_TRUE(second->Write(teardown.data(), teardown.size()));
  const std::vector<ReceivedCommand> expected{
      {1500, {0, 0x24, 0x1E, 0, 0, 0, 0, 0, 0}},
      {2750, teardown},
  };
  EXPECT_EQ(rig.device.Commands(), expected);
}

TEST(SimBus, AShortWriteIsPaddedWithZeros) {
  SimRig rig;
  const std::uint8_t bytes[] = {0, 0x05, 0xA8};
  ASSERT_TRUE(rig.handle->Write(bytes, sizeof bytes));
  EXPECT_EQ(rig.device.Commands().at(0).bytes, (Report{0, 0x05, 0xA8, 0, 0, 0, 0, 0, 0}));
  EXPECT_FALSE(rig.handle->Write(bytes, 0));
}

TEST(SimBus, ReadWithNothingQueuedTimesOutWithZero) {
  SimRig rig;
  Report report{};
  EXPECT_EQ(rig.handle->Read(report.data(), report.size(), 1), 0);
}

TEST(SimBus, UnpluggedInterfaceIsGoneAndItsHandlesFailForGood) {
  SimRig rig;
  rig.device.Unplug();
  Report report{};
  EXPECT_TRUE(rig.bus.Enumerate().empty());
  EXPECT_EQ(rig.bus.Open("sim:0"), nullptr);
  EXPECT_FALSE(rig.Send({0x24, 0x1E}));
  EXPECT_EQ(rig.handle->Read(report.data(), report.size(), 0), -1);
  EXPECT_TRUE(rig.handle->ProductString().empty());

  rig.device.Plug();
  EXPECT_EQ(rig.bus.Enumerate().size(), 1u);
  EXPECT_FALSE(rig.Send({0x24, 0x1E}));
  auto fresh = rig.bus.Open("sim:0");
  ASSERT_NE(fresh, nullptr);
  const Report command{0, 0x24, 0x1E, 0, 0, 0, 0, 0, 0};
  EXPECT_TRUE(fresh->Write(command.data(), command.size()));
  EXPECT_EQ(rig.device.Commands().size(), 1u);
}

TEST(SimBus, UnplugWakesABlockedReaderWithFailure) {
  SimRig rig;
  int result = 0;
  std::thread reader([&] {
    Report report{};
    result = rig.handle->Read(report.data(), report.size(), -1);
  });
  ASSERT_TRUE(rig.device.WaitUntilDrained(std::chrono::seconds(5)));
  rig.device.Unplug();
  reader.join();
  EXPECT_EQ(result, -1);
}

TEST(SimBus, UnplugReleasesKeyAndPttAtOnce) {
  SimRig rig({.firmwareVersion = 10});
  rig.timers.AdvanceTo(700);
  rig.Send({0x01, 0x0C});
  rig.timers.AdvanceTo(900);
  rig.device.Unplug();
  EXPECT_EQ(rig.device.Transitions(),
            (std::vector<LineTransition>{Key(700, true), Ptt(700, true), Key(900, false),
                                         Ptt(900, false)}));
}

}  // namespace
}  // namespace vantrel::sim
