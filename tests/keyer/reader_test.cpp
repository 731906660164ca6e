#include <gtest/gtest.h>

#include "engine_rig.h"
#include "keyer/keyer_messages.h"

namespace vantrel::keyer::testing {
namespace {

using platform::KeyEvent;
using platform::PostedMessage;

// A status report of the newer firmware at rest, with its decode counter and code.
std::vector<std::uint8_t> Status(std::uint8_t counter, std::uint8_t code) {
  return {0, 0x33, 0, 0, 0, counter, code, 0x60, 0xFF};
}

TEST(Reader, ReportsPostTheirMessagesInOrder) {
  for (const auto& row : Golden(VANTREL_TEST_DATA "/reports.txt")) {
    SCOPED_TRACE(row[0] + ": " + row[2]);
    EngineRig rig(std::stoul(row[0]));
    rig.device->SetDecodeEnabled(row[1] == "1");
    Reports reports;
    for (const auto& report : Split(row[2])) reports.push_back(Report9(report));
    rig.Feed(reports);
    EXPECT_EQ(Messages(rig.window.Take()), row[3]);
  }
}

TEST(Reader, KanaSignsSwitchModeAndInjectAltKanaOnlyWhileDecoding) {
  EngineRig rig(23);
  rig.device->SetDecodeEnabled(true);
  rig.Feed({Status(1, 0), Status(2, 0x9E)});
  EXPECT_TRUE(rig.device->KanaMode());
  const std::vector<KeyEvent> altKana = {{18, true}, {21, true}, {21, false}, {18, false}};
  EXPECT_EQ(rig.keys.Take(), altKana);
  rig.window.Take();
  rig.Feed({Status(3, 0x60), Status(4, 0x54), Status(5, 0xDC), Status(6, 0x3C)});
  std::vector<std::intptr_t> decoded;
  for (const auto& m : rig.window.Take()) {
    if (m.message == WM_KEYER_DECODED) decoded.push_back(m.wParam);
  }
  EXPECT_EQ(decoded, (std::vector<std::intptr_t>{77, 121, 76, 58}));
  rig.Feed({Status(7, 0x14), Status(8, 0x01), Status(9, 0x16)});
  EXPECT_FALSE(rig.device->KanaMode());
  const std::vector<KeyEvent> rest = {{18, true}, {21, true}, {21, false}, {18, false},
                                      {8, true},  {8, false}, {27, true},  {27, false}};
  EXPECT_EQ(rig.keys.Take(), rest);

  rig.device->SetDecodeEnabled(false);
  rig.Feed({Status(10, 0x9E), Status(11, 0x01)});
  EXPECT_FALSE(rig.device->KanaMode());
  EXPECT_TRUE(rig.keys.Take().empty());
}

TEST(Reader, ModeFlagsReportReplacesTheFlagsWhole) {
  EngineRig rig(20);
  rig.Feed({Report9("00 31 01 02 03")});
  EXPECT_EQ(rig.device->ModeFlags(), (std::array<std::uint8_t, 3>{1, 2, 3}));
  rig.TakeWrites();
  rig.device->SetPaddleReverse(true);
  EXPECT_EQ(rig.TakeWrites(), (Reports{Report9("00 30 01 22 03")}));
}

TEST(Reader, OldFirmwareAnswersEveryReportWithOneCommand) {
  const Reports answered{Report9("00 01 0F"), Report9("00 04 0F 03"), Report9("00 04 0F 03")};
  for (unsigned version : {10u, 20u}) {
    EngineRig rig(version);
    rig.TakeWrites();
    rig.Feed({Report9("00 04 0F 03"), Report9("00 04 0F 03"), Report9("00 99")});
    EXPECT_EQ(rig.TakeWrites(), version < 20 ? answered : Reports{}) << version;
  }
}

TEST(Reader, OldFirmwarePaddleKeysElementsAndBreaksOffText) {
  EngineRig rig(10);
  rig.Feed({Report9("00 04 0F 03")});
  rig.TakeWrites();
  // Paddle reverse is on by default: the dot contact is bit 2.
  rig.Feed({Report9("00 04 0B 03")});
  EXPECT_EQ(rig.device->GetKeyingState(), KeyingState::Dot);
  EXPECT_EQ(rig.device->OutputLines(), 0x0E);
  rig.window.Take();
  rig.Feed({Report9("00 04 0E 03")});  // the dash contact during the dot is remembered
  EXPECT_EQ(rig.device->GetPaddleMemory(), PaddleMemory::Dash);
  EXPECT_EQ(Messages(rig.window.Take()), "PADDLE 2 0");
  EXPECT_EQ(rig.TakeWrites(), (Reports{Report9("00 01 0E"), Report9("00 04 0F 03")}));
  rig.timers.AdvanceMs(120);  // dot and element space: the remembered dash starts
  EXPECT_EQ(rig.device->GetKeyingState(), KeyingState::Dash);
  EXPECT_EQ(rig.device->GetPaddleMemory(), PaddleMemory::Empty);
  rig.Feed({Report9("00 04 0B 03")});
  EXPECT_EQ(rig.device->GetPaddleMemory(), PaddleMemory::Dot);
  EXPECT_EQ(Messages(rig.window.Take()), "PADDLE 1 0");

  rig.device->StopSending();
  EXPECT_EQ(rig.device->GetPaddleMemory(), PaddleMemory::Empty);
  rig.device->SendText("TEST");
  rig.window.Take();
  rig.TakeWrites();
  rig.Feed({Report9("00 04 0A 03")});
  EXPECT_EQ(rig.device->ElementString(), "");
  EXPECT_EQ(rig.device->GetKeyingState(), KeyingState::Idle);
  EXPECT_EQ(rig.device->OutputLines(), 0x0F);
  EXPECT_EQ(rig.TakeWrites(),
            (Reports{Report9("00 01 0F 0F 0F 0F 0F 0F 0F"), Report9("00 01 0F")}));
}

TEST(Reader, OldFirmwareSendsTheLinesAgainAfterAReopen) {
  EngineRig rig(10);
  rig.device->SendText("E");
  rig.Feed({Report9("00 04 0F 03")});
  rig.bus.Change(rig.hid, [](auto& d) { d.present = false; });
  ASSERT_TRUE(WaitUntil([&] { return rig.device->ReaderThreadCount() == 0; }));
  rig.bus.Change(rig.hid, [](auto& d) { d.present = true; });
  rig.device->StopSending();
  rig.device->SendText("E");
  rig.TakeWrites();
  rig.Feed({Report9("00 04 0F 03")});
  EXPECT_EQ(rig.TakeWrites(), (Reports{Report9("00 01 0E")}));
}

}  // namespace
}  // namespace vantrel::keyer::testing
