#include <QAbstractButton>
#include <QTextDocumentFragment>

#include <gtest/gtest.h>

#include "keyer/morse_code.h"
#include "settings/data_table.h"
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
// it on top, and the close box saves both files with the other entries kept. A window the
// window system never showed was never placed: its exit keeps the saved rectangle.
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
  EXPECT_EQ(rig.TakeWrites(),
            std::vector<std::string>({"00 34 00 00 00 00 00 00 00", "00 35 00 00 00 00 00 00 00"}));
  EXPECT_NE(rig.dir.Read("Vantrel.cfg").find("WPM 27\n"), std::string::npos);
  EXPECT_EQ(rig.dir.Read("Vantrel.ini"),
            "[Other]\r\nKey=kept\r\n[Window]\r\nTop=1\r\nSize=100,50,500,480\r\nX=x\r\n");

  CMainDlg neverShown(MainDlgServices{rig.bus, rig.timers, rig.tone, rig.dir.path()}, nullptr);
  neverShown.ExitWindow();
  EXPECT_TRUE(
      rig.dir.Read("Vantrel.ini")
          .starts_with("[Other]\r\nKey=kept\r\n[Window]\r\nTop=0\r\nSize=100,50,500,480\r\n"))
      << rig.dir.Read("Vantrel.ini");
}

// The engine's first command, the settings apply, then the stop action of the start-up; below
// firmware 20 only the output lines and the input poll.
TEST(StartUp, SequenceMatchesTheFirmwareByteForByte) {
  for (const auto& row : ReadTable(VANTREL_UI_DATA "/start_up.txt")) {
    const unsigned version = std::stoul(row[0]);
    SCOPED_TRACE(version);
    SimWindowRig rig(version);
    rig.Open(row[1]);
    std::vector<std::string> sent;
    for (const auto& command : rig.startCommands) {
      sent.push_back(sim::FormatReportBytes(command.bytes));
      if (version < 20) {
        EXPECT_TRUE(command.bytes[1] == sim::CmdOutputLines ||
                    command.bytes[1] == sim::CmdPollInputs);
      }
    }
    if (version >= 20) EXPECT_EQ(sent, std::vector<std::string>(row.begin() + 2, row.end()));
    EXPECT_TRUE(rig.Control(kIdDecode)->isEnabled());
    EXPECT_EQ(rig.window->Setup().KnownFirmwareVersion, static_cast<int>(version));
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
