#include <gtest/gtest.h>

#include "ui/main_dlg_ids.h"
#include "window_rig.h"

namespace vantrel::ui::rig {
namespace {

std::vector<std::vector<std::uint8_t>> Reports(const std::vector<std::string>& hex) {
  std::vector<std::vector<std::uint8_t>> reports;
  for (const std::string& one : hex) reports.push_back(Report(one));
  return reports;
}

struct SequenceCase {
  unsigned version;
  const char* settingsFile;
  std::vector<std::string> expected;
};

// The engine's first command, the settings apply, then the stop action of the start-up.
const std::vector<std::string> kStop = {"00 35 00 00", "00 34", "00 35 00 00"};

class StartUpSequence : public testing::TestWithParam<SequenceCase> {};

TEST_P(StartUpSequence, MatchesTheFirmwareByteForByte) {
  WindowRig rig(GetParam().version);
  rig.dir.Write("Vantrel.cfg", GetParam().settingsFile);
  rig.Open();
  std::vector<std::string> expected = GetParam().expected;
  expected.insert(expected.end(), kStop.begin(), kStop.end());
  EXPECT_EQ(rig.TakeWrites(), Reports(expected));
  EXPECT_TRUE(rig.window->Control(kIdDecode)->isEnabled());
  EXPECT_EQ(rig.window->Setup().KnownFirmwareVersion, static_cast<int>(GetParam().version));
}

INSTANTIATE_TEST_SUITE_P(
    Firmware, StartUpSequence,
    testing::Values(
        SequenceCase{
            20,
            "",
            {"00 01 0F", "00 20 1E 02 06 02 00", "00 20 1E 02 06 02 07", "00 20 1E 02 06 02 07",
             "00 22 19 C8", "00 22 19 C8", "00 35 00 00", "00 30 00 A0 00", "00 30 00 80 00"}},
        SequenceCase{22,
                     "WPM 25\nPaddleRvs TRUE\nPTTCtrl TRUE\nSideToneFreqIf 3906\n",
                     {"00 01 0F", "00 24 18", "00 20 18 02 06 02 07", "00 20 18 02 06 02 07",
                      "00 22 19 C8", "00 22 19 C8", "00 25 01", "00 26 00 00 01"}},
        SequenceCase{23,
                     "",
                     {"00 01 0F", "00 24 1E", "00 20 1E 02 06 02 07", "00 20 1E 02 06 02 07",
                      "00 22 19 C8", "00 22 19 C8", "00 35 00 00", "00 25 00", "00 26 00 00 00"}},
        SequenceCase{
            23,
            "SideToneFreqIf 3906\nWeightDot 1.5\nPttdAfter 250\n",
            {"00 01 0F", "00 24 1E", "00 20 1E 03 06 02 07", "00 20 1E 03 06 02 07", "00 22 19 C8",
             "00 22 19 FA", "00 35 00 00", "00 25 00", "00 26 00 00 00", "00 20 1E 03 06 02 01"}}));

TEST(StartUpSequence, WithoutAnInterfaceNothingIsSentAndDecodingStaysOff) {
  WindowRig rig(0);
  rig.Open();
  EXPECT_FALSE(rig.window->Control(kIdDecode)->isEnabled());
  EXPECT_EQ(rig.window->Setup().KnownFirmwareVersion, 0);
}

TEST(StartUpSequence, FirmwareBelowTwentyGetsNoSetting) {
  WindowRig rig(19);
  rig.Open();
  for (const auto& report : rig.TakeWrites()) EXPECT_EQ(report[1], 0x01) << int(report[1]);
  EXPECT_TRUE(rig.window->Control(kIdDecode)->isEnabled());
}

TEST(SpeedBox, EmptyShowsTheNumberMessageSevenAppliesSeventyKeepsTheEngineSpeed) {
  WindowRig rig(23);
  rig.Open();
  rig.TakeWrites();
  std::vector<QString> messages = WindowRig::MessagesDuring([&] { rig.Type(kIdSpeed, ""); });
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "正の整数を入力してください。");
  EXPECT_EQ(rig.window->Engine().GetSpeed(), 20u);
  EXPECT_EQ(rig.TakeWrites(), Reports({}));

  // The character handler reads the controls before the box takes the character.
  messages = WindowRig::MessagesDuring([&] { QTest::keyClick(rig.Edit(kIdSpeed), '7'); });
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "正の整数を入力してください。");
  EXPECT_EQ(rig.Edit(kIdSpeed)->text(), "7");
  EXPECT_EQ(rig.window->Engine().GetSpeed(), 7u);
  EXPECT_EQ(rig.TakeWrites(), Reports({"00 24 55"}));

  QTest::keyClick(rig.Edit(kIdSpeed), '0');
  EXPECT_EQ(rig.Edit(kIdSpeed)->text(), "70");
  EXPECT_EQ(rig.window->WPM, 7u);
  EXPECT_EQ(rig.window->Engine().GetSpeed(), 7u);
  EXPECT_EQ(rig.TakeWrites(), Reports({}));
}

TEST(SpeedBox, UpDownStepsWithinFiveToFifty) {
  WindowRig rig(23);
  rig.dir.Write("Vantrel.cfg", "WPM 49\n");
  rig.Open();
  auto* upDown = rig.window->Control(kIdSpeedUpDown);
  QWidget* up = upDown->findChildren<QWidget*>().at(0);
  QTest::mouseClick(up, Qt::LeftButton);
  EXPECT_EQ(rig.Edit(kIdSpeed)->text(), "50");
  QTest::mouseClick(up, Qt::LeftButton);
  EXPECT_EQ(rig.Edit(kIdSpeed)->text(), "50");
  EXPECT_EQ(rig.window->Engine().GetSpeed(), 50u);
  rig.Type(kIdSpeed, "6");
  QTest::keyClick(rig.Edit(kIdSpeed), Qt::Key_Down);
  QTest::keyClick(rig.Edit(kIdSpeed), Qt::Key_Down);
  EXPECT_EQ(rig.Edit(kIdSpeed)->text(), "5");
  EXPECT_EQ(rig.window->Engine().GetSpeed(), 5u);
}

TEST(Toggles, PttOnAndOffHoldsAndReleasesPtt) {
  WindowRig rig(23);
  rig.Open();
  rig.TakeWrites();
  rig.Click(kIdPtt);
  EXPECT_EQ(rig.window->PttCheck, 1);
  EXPECT_EQ(rig.TakeWrites(), Reports({"00 35 00 01"}));
  rig.Click(kIdPtt);
  EXPECT_EQ(rig.window->PttCheck, 0);
  EXPECT_EQ(rig.TakeWrites(), Reports({"00 35 00 00"}));
}

TEST(Toggles, PaddleDecodeMovesTheFocusToTheLogAndBack) {
  WindowRig rig(23);
  rig.Open();
  rig.Click(kIdDecode);
  EXPECT_EQ(rig.window->DecodeCheck, 1);
  EXPECT_EQ(QApplication::focusWidget(), rig.window->Control(kIdLog));
  rig.Click(kIdDecode);
  EXPECT_EQ(rig.window->DecodeCheck, 0);
  EXPECT_EQ(QApplication::focusWidget(), rig.window->Control(kIdInput));
}

TEST(Toggles, ABadReportStopsThePttToggle) {
  WindowRig rig(23);
  rig.Open();
  rig.Type(kIdReport, "600");
  rig.TakeWrites();
  std::vector<QString> messages = WindowRig::MessagesDuring([&] { rig.Click(kIdPtt); });
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "0 から 599 までの整数を入力してください。");
  EXPECT_EQ(rig.TakeWrites(), Reports({}));
  EXPECT_TRUE(QTest::qWaitForWindowActive(rig.window.get()));
  EXPECT_EQ(QApplication::focusWidget(), rig.window->Control(kIdReport));
}

TEST(ApplyAgain, KeepsTheSettingsInMemoryAndTheLiveSpeed) {
  WindowRig rig(23);
  rig.dir.Write("Vantrel.cfg", "WPM 25\nNumber 001\nFnMsgA01 OLD\n");
  rig.Open();
  rig.Type(kIdSpeed, "31");
  rig.window->Setup().Number = "M005";
  rig.window->Setup().FnMsgA[0] = "NEW";
  rig.window->ShowBank(Bank::A);
  rig.TakeWrites();

  rig.window->Logic().ApplySettings();

  EXPECT_EQ(rig.window->Setup().Number, "M005");
  EXPECT_EQ(rig.window->Setup().FnMsgA[0], "NEW");
  EXPECT_EQ(rig.Button(FunctionButtonId(1))->text(), "NEW");
  EXPECT_EQ(rig.window->WPM, 31u);
  EXPECT_EQ(rig.Edit(kIdSpeed)->text(), "31");
  EXPECT_EQ(rig.TakeWrites().front(), Report("00 24 13"));
}

}  // namespace
}  // namespace vantrel::ui::rig
