#include <gtest/gtest.h>

#include "engine_rig.h"

namespace vantrel::keyer::testing {
namespace {

TEST(FirmwareVersion, ComesFromProductDigitsOrManufacturer) {
  struct Case {
    std::u16string product;
    std::u16string manufacturer;
    unsigned expected;
  };
  const Case cases[] = {
      {u"HALVIX KEYER 2.3", u"", 23},
      {u"xxxxxxxxxxxxx2x0", u"JA", 20},  // the digits win over the manufacturer
      {u"xxxxxxxxxxxxx2", u"JA1", 10},   // too short to reach position 15
      {u"xxxxxxxxxxxxx2x", u"Halvix", 99},
      {u"", u"", 99},
      {u"xxxxxxxxxxxxx0x0", u"", 0},
      {std::u16string(u"xxxxxxxxxxxxx") + char16_t{0x0132} + u"x" + char16_t{0x0139}, u"", 29},
      {std::u16string(u"xxxxxxxxxxxxx") + char16_t{0xB2} + u"x3", u"J", 10},
      {u"xxxxxxxxxxxxx/x3", u"", 99},
      {u"xxxxxxxxxxxxx9x:", u"", 99},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FirmwareVersionFromStrings(c.product, c.manufacturer), c.expected);
  }
}

TEST(DeviceLink, AbsentInterfaceLeavesVersionZeroAndNoReader) {
  EngineRig rig(0);
  EXPECT_EQ(rig.device->FirmwareVersion(), 0u);
  EXPECT_FALSE(rig.device->LinkOpen());
  EXPECT_EQ(rig.device->ReaderThreadCount(), 0u);
  rig.device.reset();
}

TEST(DeviceLink, ConstructionOpensTwiceSendsReleaseAndTeardownSendsClosingPair) {
  EngineRig rig(23);
  EXPECT_EQ(rig.device->FirmwareVersion(), 23u);
  EXPECT_TRUE(rig.device->LinkOpen());
  EXPECT_EQ(rig.hid->opens, 2);
  EXPECT_EQ(rig.device->ReaderThreadCount(), 1u);
  EXPECT_EQ(rig.TakeWrites(), (Reports{Report9("00 01 0F")}));
  rig.device.reset();
  EXPECT_EQ(rig.TakeWrites(), (Reports{Report9("00 01 0F 0F 0F 0F 0F 0F 0F"),
                                       Report9("00 02 0F 0F 0F 0F 0F 0F 0F")}));
}

TEST(DeviceLink, ManufacturerJMeansPcTimedFirmware) {
  FakeHidBus bus;
  bus.Add("hid:0", u"Halvix", u"JA1");
  platform::ManualTimerService timers;
  platform::NullToneOutput tone;
  platform::RecordingKeyInjector keys;
  CCwDevice device({bus, timers, tone, keys, "/nonexistent", 10});
  EXPECT_EQ(device.FirmwareVersion(), 10u);
}

TEST(DeviceLink, FirstOfTwoInterfacesIsUsedAndTheOtherNeverTouched) {
  FakeHidBus bus;
  auto other = bus.Add("hid:0", u"something else");
  other->vendorId = 0x1234;
  auto first = bus.Add("hid:1", ProductFor(22));
  auto second = bus.Add("hid:2", ProductFor(23));
  platform::ManualTimerService timers;
  platform::NullToneOutput tone;
  platform::RecordingKeyInjector keys;
  {
    CCwDevice device({bus, timers, tone, keys, "/nonexistent", 10});
    EXPECT_EQ(device.FirmwareVersion(), 22u);
    device.SetSpeed(25);
  }
  EXPECT_EQ(first->opens, 2);
  EXPECT_EQ(bus.Writes(first).size(), 4u);
  EXPECT_EQ(other->opens, 0);
  EXPECT_EQ(second->opens, 0);
  EXPECT_TRUE(bus.Writes(second).empty());
}

TEST(DeviceLink, UnusableReportLengthsAreSkippedForTheNextInterface) {
  const std::pair<std::size_t, std::size_t> lengths[] = {{0, 9}, {9, 0}, {33, 9}, {9, 65}};
  for (auto [in, out] : lengths) {
    FakeHidBus bus;
    auto bad = bus.Add("hid:0", ProductFor(23));
    bad->inputLength = in;
    bad->outputLength = out;
    auto good = bus.Add("hid:1", ProductFor(21));
    platform::ManualTimerService timers;
    platform::NullToneOutput tone;
    platform::RecordingKeyInjector keys;
    CCwDevice device({bus, timers, tone, keys, "/nonexistent", 10});
    EXPECT_EQ(device.FirmwareVersion(), 21u) << in << "/" << out;
    EXPECT_TRUE(bus.Writes(bad).empty());
  }
}

TEST(DeviceLink, ShortOutputReportCarriesTheFirstBytesAndLongOneIsZeroPadded) {
  for (std::size_t length : {4u, 12u}) {
    FakeHidBus bus;
    auto hid = bus.Add("hid:0", ProductFor(23));
    hid->outputLength = length;
    platform::ManualTimerService timers;
    platform::NullToneOutput tone;
    platform::RecordingKeyInjector keys;
    CCwDevice device({bus, timers, tone, keys, "/nonexistent", 10});
    auto expected = Report9("00 01 0F");
    expected.resize(length, 0);
    EXPECT_EQ(bus.Writes(hid).front(), expected);
  }
}

TEST(DeviceLink, UnplugWhileIdleEndsReaderAndNextCommandReopens) {
  EngineRig rig(23);
  rig.bus.Change(rig.hid, [](auto& d) { d.present = false; });
  ASSERT_TRUE(WaitUntil([&] { return rig.device->FirmwareVersion() == 0; }));
  ASSERT_TRUE(WaitUntil([&] { return rig.device->ReaderThreadCount() == 0; }));
  EXPECT_FALSE(rig.device->LinkOpen());
  EXPECT_EQ(rig.device->SetSpeed(30), 0);  // version 0: stored only
  rig.bus.Change(rig.hid, [](auto& d) { d.present = true; });
  rig.TakeWrites();
  rig.device->StopSending();
  EXPECT_EQ(rig.device->FirmwareVersion(), 23u);
  EXPECT_EQ(rig.device->ReaderThreadCount(), 1u);
  EXPECT_EQ(rig.hid->opens, 4);
  // Nothing is re-sent by the engine itself: that is the window's job after a reopen.
  EXPECT_EQ(rig.TakeWrites(), (Reports{Report9("00 01 0F 0F 0F 0F 0F 0F 0F")}));
}

TEST(DeviceLink, FailedWriteDropsTheCommandClosesTheLinkAndTheNextOneReopens) {
  EngineRig rig(23);
  rig.TakeWrites();
  rig.bus.Change(rig.hid, [](auto& d) { d.failWrites = true; });
  rig.device->SetSpeed(25);
  EXPECT_FALSE(rig.device->LinkOpen());
  ASSERT_TRUE(WaitUntil([&] { return rig.device->ReaderThreadCount() == 0; }));
  EXPECT_EQ(rig.device->FirmwareVersion(), 0u);
  rig.bus.Change(rig.hid, [](auto& d) { d.failWrites = false; });
  rig.device->ClearBuffer();
  EXPECT_TRUE(rig.device->LinkOpen());
  EXPECT_EQ(rig.device->ReaderThreadCount(), 1u);
  EXPECT_EQ(rig.TakeWrites(), (Reports{Report9("00 34")}));
}

TEST(DeviceLink, TeardownReopensForItsClosingCommandsWithoutStartingAReader) {
  EngineRig rig(23);
  rig.bus.Change(rig.hid, [](auto& d) { d.present = false; });
  ASSERT_TRUE(WaitUntil([&] { return rig.device->ReaderThreadCount() == 0; }));
  rig.bus.Change(rig.hid, [](auto& d) { d.present = true; });
  rig.TakeWrites();
  rig.device.reset();
  EXPECT_EQ(rig.TakeWrites(), (Reports{Report9("00 01 0F 0F 0F 0F 0F 0F 0F"),
                                       Report9("00 02 0F 0F 0F 0F 0F 0F 0F")}));
  EXPECT_EQ(rig.hid->opens, 4);
}

}  // namespace
}  // namespace vantrel::keyer::testing
