#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "operating/operating_rig.h"

namespace vantrel::operating {
namespace {

TextPiece Text(const std::string& text) {
  TextPiece piece;
  piece.text = text;
  return piece;
}

TextPiece Step(int wpm) {
  TextPiece piece;
  piece.kind = TextPiece::Kind::SpeedStep;
  piece.wpmStep = wpm;
  return piece;
}

TextPiece Erase() {
  TextPiece piece;
  piece.kind = TextPiece::Kind::Erase;
  return piece;
}

using Calls = std::vector<std::string>;

// The speed changes between the characters apply as each character is handed over; a change
// behind the last one waits until the interface is idle.
TEST(NetworkTextTest, SpeedChangesKeepTheirPlaceInTheQueue) {
  OperatingRig rig;
  rig.logic.QueueNetworkText({Text("CQ"), Step(4), Text("K"), Step(-4)});
  EXPECT_EQ(rig.window.inputLine, "CQK");
  EXPECT_FALSE(rig.logic.QueuedTextKeyed());
  rig.keyer.TakeCalls();
  rig.SendQueued();
  EXPECT_EQ(rig.keyer.TakeCalls(),
            (Calls{"SendText C", "SendText Q", "SetSpeed 24", "SendText K", "SetSpeed 20"}));
  EXPECT_EQ(rig.window.fields.WPM, 20u);
  EXPECT_EQ(rig.window.controls.log, "CQK");
  EXPECT_TRUE(rig.logic.QueuedTextKeyed());
}

TEST(NetworkTextTest, OlderFirmwareHoldsTextBehindASpeedChangeUntilPlayed) {
  OperatingRig rig;
  rig.keyer.firmware = 10;
  rig.logic.QueueNetworkText({Text("CQ"), Step(4), Text("~AR"), Text("K")});
  EXPECT_EQ(rig.keyer.TakeCalls(), (Calls{"SendText CQ"}));
  EXPECT_FALSE(rig.logic.QueuedTextKeyed());
  rig.logic.OnKeyerMessage(WM_KEYER_TEXT_DONE, 0, 0);
  EXPECT_EQ(rig.keyer.TakeCalls(), (Calls{"SetSpeed 24", "SendText ~AR"}));
  rig.logic.OnKeyerMessage(WM_KEYER_TEXT_DONE, 0, 0);
  EXPECT_EQ(rig.keyer.TakeCalls(), (Calls{"SendText K"}));
  EXPECT_FALSE(rig.logic.QueuedTextKeyed());
  rig.logic.OnKeyerMessage(WM_KEYER_TEXT_DONE, 0, 0);
  EXPECT_TRUE(rig.logic.QueuedTextKeyed());
}

struct EraseCase {
  unsigned firmware;
  int sendMode;
  NetworkText text;
  std::string queued;
  std::string inputLine;
  std::string log;
};

TEST(NetworkTextTest, EraseTakesBackTheLastQueuedCharacter) {
  const std::vector<EraseCase> cases = {
      {23, kSequentialMode, {Text("AB"), Erase()}, "A", "A", ""},
      {23, kBlockMode, {Text("AB"), Erase()}, "A", "", "A\r\n"},
      {23, kSequentialMode, {Text("\x82\xa0X"), Erase(), Erase()}, "", "", ""},
      {23, kSequentialMode, {Erase()}, "", "", ""},
      {10, kSequentialMode, {Text("A"), Text("BC"), Erase()}, "", "AB", ""},
  };
  for (const EraseCase& c : cases) {
    OperatingRig rig;
    rig.keyer.firmware = c.firmware;
    rig.SetSendMode(c.sendMode);
    rig.logic.QueueNetworkText(c.text);
    std::string queued = rig.State().PendingText;
    for (const TextPiece& held : rig.State().HeldNetworkText) queued += held.text;
    EXPECT_EQ(queued, c.firmware >= 20 ? c.queued : "B");
    EXPECT_EQ(rig.window.inputLine, c.inputLine);
    EXPECT_EQ(rig.window.controls.log, c.log);
  }
}

TEST(NetworkTextTest, StopDropsQueuedTextAndItsSpeedChanges) {
  for (unsigned firmware : {10u, 23u}) {
    OperatingRig rig;
    rig.keyer.firmware = firmware;
    rig.logic.QueueNetworkText({Text("A"), Step(4), Text("B")});
    rig.logic.AbortSending();
    EXPECT_TRUE(rig.State().PendingText.empty());
    EXPECT_TRUE(rig.State().PendingSpeedMarks.empty());
    EXPECT_TRUE(rig.State().HeldNetworkText.empty());
    rig.Status(kIdle, 3);
    EXPECT_TRUE(rig.logic.QueuedTextKeyed());
    EXPECT_EQ(rig.window.fields.WPM, 20u);
  }
}

TEST(NetworkTextTest, NetworkSpeedStaysWithinTheSpeedBoxRange) {
  OperatingRig rig;
  for (auto [asked, shown] : {std::pair{4u, 5u}, {60u, 50u}, {33u, 33u}}) {
    rig.logic.SetNetworkSpeed(asked);
    EXPECT_EQ(rig.window.controls.speedBox, shown);
    EXPECT_EQ(rig.keyer.speed, shown);
  }
}

TEST(NetworkTextTest, NetworkTextEndsACqRepeatAndIsStillSent) {
  OperatingRig rig;
  rig.Press(Key::Z, {.ctrl = true});
  rig.logic.QueueNetworkText({Text("TU")});
  EXPECT_EQ(rig.State().CqRepeatCount, 0);
  EXPECT_EQ(rig.State().PendingText, "TU");
}

}  // namespace
}  // namespace vantrel::operating
