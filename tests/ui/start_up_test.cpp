#include <QAbstractButton>
#include <QTextDocumentFragment>

#include <gtest/gtest.h>

#include "keyer/morse_code.h"
#include "sim_window_rig.h"
#include "ui/about_dlg.h"

namespace vantrel::ui::rig {
namespace {

TEST(StartUp, FirstStartInAnEmptyFolderShowsDefaultsAndSavesBothFiles) {
  SimWindowRig rig(0);
  rig.Open();
  const QString tip = rig.Control(FunctionButtonId(1))->toolTip();
  EXPECT_EQ(QTextDocumentFragment::fromHtml(tip).toPlainText(), "CQ DE $M K");
  EXPECT_EQ(static_cast<QAbstractButton*>(rig.Control(kIdF11))->text(), ">THL");
  EXPECT_EQ(rig.Edit(kIdSpeed)->text(), "20");
  EXPECT_FALSE(rig.Control(kIdDecode)->isEnabled());
  EXPECT_FALSE(rig.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(QApplication::focusWidget(), rig.Control(kIdInput));
  EXPECT_FALSE(std::filesystem::exists(rig.dir.path() / "Vantrel.cfg"));

  const QPoint corner = rig.window->frameGeometry().topLeft();
  const std::string size =
      QString::asprintf("%d,%d,%d,%d", corner.x(), corner.y(), corner.x() + rig.window->width(),
                        corner.y() + rig.window->height())
          .toStdString();
  rig.Click(kIdExit);
  EXPECT_FALSE(rig.window->isVisible());
  const std::string cfg = rig.dir.Read("Vantrel.cfg");
  EXPECT_EQ(std::count(cfg.begin(), cfg.end(), '\n'), 38);
  EXPECT_NE(cfg.find("WPM 20\n"), std::string::npos);
  EXPECT_EQ(rig.dir.Read("Vantrel.ini"), "[Window]\r\nSize=" + size + "\r\nTop=0\r\n");
  EXPECT_FALSE(rig.window->InstanceHeld());
}

// A saved place and size are restored, a minimised window saves its normal place, Top=1 keeps
// it on top, and the close box saves both files with the other entries kept.
TEST(StartUp, SavedPlaceAndTopAreRestoredAndSavedAgainByTheCloseBox) {
  SimWindowRig rig(23);
  rig.dir.Write("Vantrel.ini",
                "[Other]\r\nKey=kept\r\n[Window]\r\nTop=1\r\nSize= 100, 50,500,480\r\nX=x\r\n");
  rig.Open();
  EXPECT_EQ(rig.window->frameGeometry().topLeft(), QPoint(100, 50));
  EXPECT_EQ(rig.window->size(), QSize(400, 430));
  EXPECT_TRUE(rig.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  rig.TypeOver(kIdSpeed, "27");
  rig.TakeWrites();
  rig.window->showMinimized();
  EXPECT_TRUE(rig.window->close());
  EXPECT_EQ(rig.TakeWrites(), Reports({"00 34", "00 35 00 00"}));
  EXPECT_NE(rig.dir.Read("Vantrel.cfg").find("WPM 27\n"), std::string::npos);
  EXPECT_EQ(rig.dir.Read("Vantrel.ini"),
            "[Other]\r\nKey=kept\r\n[Window]\r\nTop=1\r\nSize=100,50,500,480\r\nX=x\r\n");
}

// A window the window system never showed was never placed: its exit keeps the saved
// rectangle.
TEST(StartUp, AWindowNeverShownKeepsTheSavedRectangle) {
  SimWindowRig rig(23);
  rig.dir.Write("Vantrel.ini", "[Window]\r\nSize=100,50,500,480\r\nTop=1\r\n");
  CMainDlg window(MainDlgServices{rig.bus, rig.timers, rig.tone, rig.dir.path()}, nullptr);
  window.ExitWindow();
  EXPECT_TRUE(
      rig.dir.Read("Vantrel.ini").starts_with("[Window]\r\nSize=100,50,500,480\r\nTop=0\r\n"))
      << rig.dir.Read("Vantrel.ini");
}

// The engine's first command, the settings apply, then the stop action of the start-up; below
// firmware 20 only the output lines and the input poll.
TEST(StartUp, SequenceMatchesTheFirmwareByteForByte) {
  const std::vector<std::string> stop = {"00 35 00 00", "00 34", "00 35 00 00"};
  struct Case {
    unsigned version;
    const char* settingsFile;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {20,
       "",
       {"00 01 0F", "00 20 1E 02 06 02 00", "00 20 1E 02 06 02 07", "00 20 1E 02 06 02 07",
        "00 22 19 C8", "00 22 19 C8", "00 35 00 00", "00 30 00 A0 00", "00 30 00 80 00"}},
      {22,
       "WPM 25\nPaddleRvs TRUE\nPTTCtrl TRUE\nSideToneFreqIf 3906\n",
       {"00 01 0F", "00 24 18", "00 20 18 02 06 02 07", "00 20 18 02 06 02 07", "00 22 19 C8",
        "00 22 19 C8", "00 25 01", "00 26 00 00 01"}},
      {23,
       "SideToneFreqIf 3906\nWeightDot 1.5\nPttdAfter 250\n",
       {"00 01 0F", "00 24 1E", "00 20 1E 03 06 02 07", "00 20 1E 03 06 02 07", "00 22 19 C8",
        "00 22 19 FA", "00 35 00 00", "00 25 00", "00 26 00 00 00", "00 20 1E 03 06 02 01"}},
      {10, "", {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    SimWindowRig rig(c.version);
    rig.Open(c.settingsFile);
    std::vector<sim::Report> sent;
    for (const auto& command : rig.startCommands) sent.push_back(command.bytes);
    if (c.version < 20) {
      for (const auto& bytes : sent) {
        EXPECT_TRUE(bytes[1] == sim::CmdOutputLines || bytes[1] == sim::CmdPollInputs);
      }
    } else {
      std::vector<std::string> expected = c.expected;
      expected.insert(expected.end(), stop.begin(), stop.end());
      EXPECT_EQ(sent, Reports(expected));
    }
    EXPECT_TRUE(rig.Control(kIdDecode)->isEnabled());
    EXPECT_EQ(rig.window->Setup().KnownFirmwareVersion, static_cast<int>(c.version));
  }
}

TEST(AboutBox, TheEntryShowsTheInterfaceVersion) {
  for (const auto& [number, text] :
       {std::pair{23u, "Halvix Ver.2.3"}, {0u, "Halvix Ver..0"}, {100u, "Halvix Ver.10.0"}}) {
    EXPECT_EQ(AboutVersionText(number), text);
  }
}

// An idle window is not woken by the interface's status reports (200 a second here), yet a
// typed character goes out at once on the last report held back.
TEST(Frame, AnIdleWindowSleepsThroughStatusReportsAndStillSendsAtOnce) {
  SimWindowRig rig(23);
  rig.Open("LogTime FALSE\n");
  rig.FocusInput();
  StatusCounter counter;
  rig.window->installEventFilter(&counter);
  rig.RunMs(1000);
  EXPECT_EQ(counter.handled, 0);

  const platform::Micros typedAt = rig.timers.Now();
  rig.Type("e");
  QCoreApplication::sendPostedEvents();
  const auto sent = rig.Commands(sim::CmdSendCodes);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].at, typedAt);
  EXPECT_EQ(sent[0].bytes[2], keyer::kBuiltinCodes[keyer::FindCharacterIndex('E')]);
}

}  // namespace
}  // namespace vantrel::ui::rig
