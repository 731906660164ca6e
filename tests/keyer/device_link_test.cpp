#include <gtest/gtest.h>

#include "engine_rig.h"

namespace vantrel::keyer::testing {
namespace {

const auto kClosingPair =
    Reports{Report9("00 01 0F 0F 0F 0F 0F 0F 0F"), Report9("00 02 0F 0F 0F 0F 0F 0F 0F")};

void Unplug(EngineRig& rig, bool present = false) {
  rig.bus.Change(rig.hid, [present](auto& d) { d.present = present; });
  if (!present) {
    ASSERT_TRUE(WaitUntil([&] { return rig.device->ReaderThreadCount() == 0; }));
  }
}

TEST(FirmwareVersion, ComesFromProductDigitsOrManufacturer) {
  const std::tuple<std::u16string, std::u16string, unsigned> cases[] = {
      {u"HALVIX KEYER 2.3", u"", 23},
      {u"xxxxxxxxxxxxx2x0", u"JA", 20},
      {u"xxxxxxxxxxxxx2", u"JA1", 10},
      {u"xxxxxxxxxxxxx2x", u"Halvix", 99},
      {u"", u"", 99},
      {std::u16string(u"xxxxxxxxxxxxx") + char16_t{0x0132} + u"x" + char16_t{0x0139}, u"", 29},
      {std::u16string(u"xxxxxxxxxxxxx") + char16_t{0xB2} + u"x3", u"J", 10},
      {u"xxxxxxxxxxxxx/x3", u"", 99},
      {u"xxxxxxxxxxxxx9x:", u"", 99},
  };
  for (const auto& [product, manufacturer, expected] : cases)
    EXPECT_EQ(FirmwareVersionFromStrings(product, manufacturer), expected);
}

TEST(DeviceLink, ConstructionOpensTwiceSendsReleaseAndTeardownSendsClosingPair) {
  EngineRig rig(23);
  EXPECT_EQ(rig.device->FirmwareVersion(), 23u);
  EXPECT_TRUE(rig.device->LinkOpen());
  EXPECT_EQ(rig.hid->opens, 2);
  EXPECT_EQ(rig.device->ReaderThreadCount(), 1u);
  EXPECT_EQ(rig.TakeWrites(), (Reports{Report9("00 01 0F")}));
  rig.device.reset();
  EXPECT_EQ(rig.TakeWrites(), kClosingPair);
}

TEST(DeviceLink, TheFirstUsableHalvixIsOpenedAndNoOtherTouched) {
  std::shared_ptr<FakeHidBus::Device> other, second;
  EngineRig rig(22, [&](EngineRig& r) {
    other = r.bus.Add("hid:1", u"something else");
    other->vendorId = 0x1234;
    second = r.bus.Add("hid:2", ProductFor(23));
  });
  rig.device->SetSpeed(25);
  rig.device.reset();
  EXPECT_EQ(rig.TakeWrites().size(), 4u);
  EXPECT_EQ(other->opens + second->opens, 0);
  for (auto [in, out] : {std::pair{0, 9}, {9, 0}, {33, 9}, {9, 65}}) {
    std::shared_ptr<FakeHidBus::Device> good;
    EngineRig skipped(23, [&](EngineRig& r) {
      r.hid->inputLength = in;
      r.hid->outputLength = out;
      good = r.bus.Add("hid:1", ProductFor(21));
    });
    EXPECT_EQ(skipped.device->FirmwareVersion(), 21u) << in << "/" << out;
    EXPECT_TRUE(skipped.TakeWrites().empty());
  }
  EngineRig manufacturer(0, [](EngineRig& r) { r.hid = r.bus.Add("hid:0", u"Halvix", u"JA1"); });
  EXPECT_EQ(manufacturer.device->FirmwareVersion(), 10u);
  EngineRig absent(0);
  EXPECT_EQ(absent.device->FirmwareVersion(), 0u);
  EXPECT_FALSE(absent.device->LinkOpen());
  EXPECT_EQ(absent.device->ReaderThreadCount(), 0u);
}

TEST(DeviceLink, ShortOutputReportCarriesTheFirstBytesAndLongOneIsZeroPadded) {
  for (std::size_t length : {4u, 12u}) {
    EngineRig rig(23, [length](EngineRig& r) { r.hid->outputLength = length; });
    auto expected = Report9("00 01 0F");
    expected.resize(length, 0);
    EXPECT_EQ(rig.TakeWrites(), Reports{expected});
  }
}

TEST(DeviceLink, UnplugEndsTheReaderAndTheNextCommandReopens) {
  EngineRig rig(23);
  Unplug(rig);
  EXPECT_EQ(rig.device->FirmwareVersion(), 0u);
  EXPECT_FALSE(rig.device->LinkOpen());
  EXPECT_EQ(rig.device->SetSpeed(30), 0);
  Unplug(rig, true);
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
  Unplug(rig);
  Unplug(rig, true);
  rig.TakeWrites();
  rig.device.reset();
  EXPECT_EQ(rig.TakeWrites(), kClosingPair);
  EXPECT_EQ(rig.hid->opens, 4);
}

}  // namespace
}  // namespace vantrel::keyer::testing
