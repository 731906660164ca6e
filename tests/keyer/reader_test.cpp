#include <gtest/gtest.h>

#include "engine_rig.h"
#include "keyer/keyer_messages.h"

namespace vantrel::keyer::testing {
namespace {

using platform::KeyEvent;
using platform::PostedMessage;

// A status report of the newer firmware: decode counter, code, speed switch byte, byte 8.
std::vector<std::uint8_t> Status(std::uint8_t counter, std::uint8_t code, std::uint8_t byte7,
                                 std::uint8_t byte8) {
  return {0, 0x33, 0, 0, 0, counter, code, byte7, byte8};
}

TEST(Reader, ReportsPostTheirMessagesInOrder) {
  struct Case {
    unsigned version;
    bool decode;
    Reports reports;
    const char* expected;
  };
  const Case cases[] = {
      {10, false, {Report9("00 21 1E"), Report9("00 21 00")}, ""},
      {10, false, {Report9("00 21 14"), Report9("00 21 28")}, "SPEED 20 1, SPEED 40 0"},
      {10, false, {Report9("00 21 FF")}, "SPEED -1 1"},
      {20, false, {Status(0, 0, 0, 0xF6)}, "STATUS 15 6, UP 6 0, PADDLE 6 0, INPUT -10 0"},
      {23, false, {Status(0, 0, 0, 0xF6)}, "STATUS 15 6, UP 6 0, PADDLE 6 0, INPUT 6 0"},
      {22,
       false,
       {Status(0, 0, 0, 0xF3), Status(0, 0, 0, 0x75)},
       "STATUS 15 3, DOWN 3 0, PADDLE 3 0, INPUT -13 0, STATUS 7 5, RESET 5 0, INPUT 117 0"},
      {21, false, {Status(0, 0, 0x60, 0xF2)}, "STATUS 15 2, PADDLE 2 0, INPUT -14 0"},
      {23,
       false,
       {Status(0, 0, 0x60, 0xFF), Status(0, 0, 0x40, 0xFF), Status(0, 0, 0x60, 0xFF),
        Status(0, 0, 0x20, 0xFF), Status(0, 0, 0x40, 0xFF)},
       "STATUS 15 15, UP 0 0, STATUS 15 15, STATUS 15 15, DOWN 0 0, STATUS 15 15, STATUS 15 15"},
      {22,
       false,
       {Status(0, 0, 0x60, 0xFF), Status(0, 0, 0x40, 0xFF)},
       "STATUS 15 15, STATUS 15 15"},
      {23,
       true,
       {Status(5, 0x60, 0x60, 0xFF), Status(6, 0x60, 0x60, 0xFF), Status(7, 0x54, 0x60, 0xFF),
        Status(8, 0xDC, 0x60, 0xFF), Status(8, 0x60, 0x60, 0xFF)},
       "STATUS 15 15, STATUS 15 15, DECODED 0 0, STATUS 15 15, DECODED 53 0, STATUS 15 15, "
       "STATUS 15 15"},
      {23,
       false,
       {Status(5, 0x60, 0x60, 0xFF), Status(6, 0x60, 0x60, 0xFF)},
       "STATUS 15 15, STATUS 15 15"},
      {20,
       true,
       {Status(1, 0x60, 0, 0xFF), Status(2, 0x60, 0, 0x3F), Status(2, 0x60, 0, 0xFF),
        Status(3, 0x40, 0, 0xFF)},
       "STATUS 15 15, STATUS 3 15, STATUS 15 15, STATUS 15 15, DECODED 4 0"},
  };
  for (const auto& c : cases) {
    EngineRig rig(c.version);
    rig.device->SetDecodeEnabled(c.decode);
    rig.Feed(c.reports);
    EXPECT_EQ(Messages(rig.window.Take()), c.expected) << "case " << &c - cases;
  }
}

TEST(Reader, KanaSignsSwitchModeAndInjectAltKanaOnlyWhileDecoding) {
  EngineRig rig(23);
  rig.device->SetDecodeEnabled(true);
  rig.Feed({Status(1, 0, 0x60, 0xFF), Status(2, 0x9E, 0x60, 0xFF)});
  EXPECT_TRUE(rig.device->KanaMode());
  const std::vector<KeyEvent> altKana = {{18, true}, {21, true}, {21, false}, {18, false}};
  EXPECT_EQ(rig.keys.Take(), altKana);
  rig.window.Take();
  rig.Feed({Status(3, 0x60, 0x60, 0xFF), Status(4, 0x54, 0x60, 0xFF), Status(5, 0xDC, 0x60, 0xFF),
            Status(6, 0x3C, 0x60, 0xFF)});
  std::vector<std::intptr_t> decoded;
  for (const auto& m : rig.window.Take()) {
    if (m.message == WM_KEYER_DECODED) decoded.push_back(m.wParam);
  }
  EXPECT_EQ(decoded, (std::vector<std::intptr_t>{77, 121, 76, 58}));
  rig.Feed({Status(7, 0x14, 0x60, 0xFF), Status(8, 0x01, 0x60, 0xFF), Status(9, 0x16, 0x60, 0xFF)});
  EXPECT_FALSE(rig.device->KanaMode());
  const std::vector<KeyEvent> rest = {{18, true}, {21, true}, {21, false}, {18, false},
                                      {8, true},  {8, false}, {27, true},  {27, false}};
  EXPECT_EQ(rig.keys.Take(), rest);

  rig.device->SetDecodeEnabled(false);
  rig.Feed({Status(10, 0x9E, 0x60, 0xFF), Status(11, 0x01, 0x60, 0xFF)});
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

TEST(Reader, StopSendingClearsPaddleMemory) {
  EngineRig rig(10);
  rig.Feed({Report9("00 04 0B 03"), Report9("00 04 0E 03")});
  ASSERT_EQ(rig.device->GetPaddleMemory(), PaddleMemory::Dash);
  rig.device->StopSending();
  EXPECT_EQ(rig.device->GetPaddleMemory(), PaddleMemory::Empty);
  rig.Feed({Report9("00 04 0E 03")});
  EXPECT_EQ(rig.device->GetKeyingState(), KeyingState::Dash);
}

}  // namespace
}  // namespace vantrel::keyer::testing
