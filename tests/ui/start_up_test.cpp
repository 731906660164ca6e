#include <QLabel>
#include <QMenu>

#include <gtest/gtest.h>

#include <thread>

#include "keyer/morse_code.h"
#include "settings/settings.h"
#include "sim_window_rig.h"
#include "ui/about_text.h"
#include "ui/tool_tip_text.h"

namespace vantrel::ui::rig {
namespace {

std::string SizeEntry(QPoint corner, QSize inside) {
  return std::to_string(corner.x()) + "," + std::to_string(corner.y()) + "," +
         std::to_string(corner.x() + inside.width()) + "," +
         std::to_string(corner.y() + inside.height());
}

TEST(StartUp, FirstStartInAnEmptyFolderShowsDefaultsAndSavesBothFiles) {
  SimWindowRig rig(0);
  rig.Open();
  for (int n = 1; n <= 10; ++n) {
    EXPECT_EQ(rig.Button(FunctionButtonId(n))->text(), Shown(settings::kDefaultBankA[n - 1]));
    EXPECT_EQ(rig.Control(FunctionButtonId(n))->toolTip(),
              ToolTipText(Shown(settings::kDefaultBankA[n - 1])));
  }
  EXPECT_EQ(rig.Button(kIdF11)->text(), ">THL");
  EXPECT_EQ(rig.Button(kIdF12)->text(), "<THL");
  EXPECT_EQ(rig.Control(kIdHisCall)->toolTip(), "CallSign");
  EXPECT_EQ(rig.Control(kIdReport)->toolTip(), "RST");
  EXPECT_EQ(rig.Edit(kIdSpeed)->text(), "20");
  EXPECT_EQ(rig.Edit(kIdReport)->text(), "599");
  EXPECT_TRUE(rig.Button(kIdSequential)->isChecked());
  EXPECT_FALSE(rig.Control(kIdDecode)->isEnabled());
  EXPECT_EQ(rig.window->Setup().KnownFirmwareVersion, 0);
  EXPECT_FALSE(rig.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(QApplication::focusWidget(), rig.Control(kIdInput));
  EXPECT_EQ(rig.window->windowTitle(), "Vantrel");
  EXPECT_FALSE(std::filesystem::exists(rig.dir.path() / "Vantrel.cfg"));

  const std::string size = SizeEntry(rig.window->frameGeometry().topLeft(), rig.window->size());
  rig.Click(kIdExit);
  EXPECT_FALSE(rig.window->isVisible());
  const std::string cfg = rig.dir.Read("Vantrel.cfg");
  EXPECT_EQ(std::count(cfg.begin(), cfg.end(), '\n'), 38);
  EXPECT_NE(cfg.find("WPM 20\n"), std::string::npos);
  EXPECT_EQ(rig.dir.Read("Vantrel.ini"), "[Window]\r\nSize=" + size + "\r\nTop=0\r\n");
  EXPECT_FALSE(rig.window->InstanceHeld());
}

TEST(StartUp, FourNumbersPlaceAndSizeTheWindowOthersAreIgnored) {
  for (const auto& [size, restored] :
       std::vector<std::pair<const char*, bool>>{{"100,50,500,480", true},
                                                 {" 100, 50,500,480", true},
                                                 {"100,50,500", false},
                                                 {"x,50,500,480", false},
                                                 {"", false}}) {
    SCOPED_TRACE(size);
    SimWindowRig rig(0);
    rig.dir.Write("Vantrel.ini", std::string("[Window]\nSize=") + size + "\n");
    rig.Create();
    const QSize templateSize = rig.window->size();
    rig.Open();
    if (restored) {
      EXPECT_EQ(rig.window->frameGeometry().topLeft(), QPoint(100, 50));
      EXPECT_EQ(rig.window->size(), QSize(400, 430));
      rig.window->showMinimized();
      rig.window->ExitWindow();
      EXPECT_FALSE(rig.window->isMinimized());
      EXPECT_EQ(rig.dir.Read("Vantrel.ini"), "[Window]\nSize=100,50,500,480\nTop=0\n");
    } else {
      EXPECT_EQ(rig.window->size(), templateSize);
    }
  }
}

TEST(StartUp, TopOfOneKeepsTheWindowOnTopAndIsSavedAgainWithOtherEntriesKept) {
  SimWindowRig rig(0);
  rig.dir.Write("Vantrel.ini",
                "[Other]\r\nKey=kept\r\n[Window]\r\nTop=1\r\nSize=1,2,3\r\nExtra=x\r\n");
  rig.Open();
  EXPECT_TRUE(rig.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(rig.window->Setup().AlwaysOnTop);
  const std::string size = SizeEntry(rig.window->frameGeometry().topLeft(), rig.window->size());
  rig.window->close();
  EXPECT_EQ(rig.dir.Read("Vantrel.ini"),
            "[Other]\r\nKey=kept\r\n[Window]\r\nTop=1\r\nSize=" + size + "\r\nExtra=x\r\n");
}

// The engine's first command, the settings apply, then the stop action of the start-up.
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
       "",
       {"00 01 0F", "00 24 1E", "00 20 1E 02 06 02 07", "00 20 1E 02 06 02 07", "00 22 19 C8",
        "00 22 19 C8", "00 35 00 00", "00 25 00", "00 26 00 00 00"}},
      {23,
       "SideToneFreqIf 3906\nWeightDot 1.5\nPttdAfter 250\n",
       {"00 01 0F", "00 24 1E", "00 20 1E 03 06 02 07", "00 20 1E 03 06 02 07", "00 22 19 C8",
        "00 22 19 FA", "00 35 00 00", "00 25 00", "00 26 00 00 00", "00 20 1E 03 06 02 01"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    SimWindowRig rig(c.version);
    rig.Open(c.settingsFile);
    std::vector<std::string> expected = c.expected;
    expected.insert(expected.end(), stop.begin(), stop.end());
    std::vector<sim::Report> sent;
    for (const auto& command : rig.startCommands) sent.push_back(command.bytes);
    EXPECT_EQ(sent, Reports(expected));
    EXPECT_TRUE(rig.Control(kIdDecode)->isEnabled());
    EXPECT_EQ(rig.window->Setup().KnownFirmwareVersion, static_cast<int>(c.version));
  }
}

TEST(StartUp, FirmwareBelowTwentyGetsNoSetting) {
  SimWindowRig rig(10);
  rig.Open();
  for (const auto& command : rig.startCommands) {
    EXPECT_TRUE(command.bytes[1] == sim::CmdOutputLines || command.bytes[1] == sim::CmdPollInputs)
        << int(command.bytes[1]);
  }
  EXPECT_TRUE(rig.Control(kIdDecode)->isEnabled());
}

TEST(AboutBox, ShiftF10OpensTheWindowMenuWhoseEntryShowsTheInterfaceVersion) {
  for (const auto& [number, text] : {std::pair{23u, "Halvix Ver.2.3"},
                                     {10u, "Halvix Ver.1.0"},
                                     {0u, "Halvix Ver..0"},
                                     {100u, "Halvix Ver.10.0"}}) {
    EXPECT_EQ(AboutVersionText(number), text);
  }
  for (const auto& [version, shown] : {std::pair{23u, "Halvix Ver.2.3"}, {0u, "Halvix Ver..0"}}) {
    SimWindowRig rig(version);
    rig.Open();
    QTest::keyClick(rig.Edit(kIdInput), Qt::Key_F10, Qt::ShiftModifier);
    QMenu* menu = rig.window->WindowMenu();
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->actions().at(0)->text(), "Vantrel のバージョン情報(&A)...");
    const auto texts = ModalTextsDuring(
        [&] { QTest::keyClick(menu, Qt::Key_A); },
        [](QWidget* modal) {
          auto* label = modal->findChild<QLabel*>(QString::number(kIdAboutVersion));
          return modal->windowTitle() + "|" + label->text();
        });
    EXPECT_EQ(texts, std::vector<QString>{QString("Vantrelのバージョン情報|") + shown});
    EXPECT_TRUE(rig.window->isVisible());
  }
}

TEST(Frame, TheCloseBoxStopsTheKeyerAndSavesBothFiles) {
  SimWindowRig rig(23);
  rig.Open();
  rig.TypeOver(kIdSpeed, "27");
  rig.TakeWrites();
  EXPECT_TRUE(rig.window->close());
  EXPECT_FALSE(rig.window->isVisible());
  EXPECT_EQ(rig.window->result(), QDialog::Rejected);
  EXPECT_EQ(rig.TakeWrites(), Reports({"00 34", "00 35 00 00"}));
  EXPECT_NE(rig.dir.Read("Vantrel.cfg").find("WPM 27\n"), std::string::npos);
  EXPECT_NE(rig.dir.Read("Vantrel.ini").find("[Window]\r\nSize="), std::string::npos);
  EXPECT_FALSE(rig.window->InstanceHeld());
}

// A decoded character posted from another thread reaches the log through the window's queue.
TEST(Frame, KeyerNotificationsArriveOnTheWindowsThread) {
  SimWindowRig rig(0);
  rig.Open();
  std::thread poster([&] {
    platform::EventTargetWindow target(rig.window.get());
    target.Post(WM_KEYER_DECODED, keyer::FindCharacterIndex('K'), 0);
  });
  poster.join();
  QTRY_COMPARE(rig.LogShown(), "K");
}

// An idle window is not woken by the interface's status reports (200 a second here), yet a
// typed character goes out at once on the last report held back; each character after it waits
// three reports and moves from the input line to the log as it goes.
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
  auto sent = rig.Commands(sim::CmdSendCodes);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].at, typedAt);
  EXPECT_EQ(sent[0].bytes[2], keyer::kBuiltinCodes[keyer::FindCharacterIndex('E')]);

  rig.Type("st");
  std::vector<std::pair<QString, QString>> steps;
  while (!rig.Pending().empty()) {
    const std::size_t queued = rig.Pending().size();
    ASSERT_TRUE(rig.RunUntil([&] { return rig.Pending().size() < queued; }, 1000));
    steps.emplace_back(rig.InputShown(), rig.LogShown());
  }
  EXPECT_EQ(steps, (std::vector<std::pair<QString, QString>>{{"T", "ES"}, {"", "EST"}}));
  sent = rig.Commands(sim::CmdSendCodes);
  ASSERT_EQ(sent.size(), 3u);
  for (std::size_t i = 1; i < sent.size(); ++i) EXPECT_GE(sent[i].at - sent[i - 1].at, 15'000);

  ASSERT_TRUE(rig.RunUntil([&] { return rig.sim.BufferState() == 15; }, 5000));
  rig.RunMs(20);
  counter.handled = 0;
  rig.RunMs(1000);
  EXPECT_EQ(counter.handled, 0);
}

}  // namespace
}  // namespace vantrel::ui::rig
