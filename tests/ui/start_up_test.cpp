#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include "platform/text_encoding.h"
#include "settings/settings.h"
#include "ui/main_dlg_ids.h"
#include "ui/tool_tip_text.h"
#include "window_rig.h"

namespace vantrel::ui::rig {
namespace {

int LineCount(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

QString Shown(const std::string& cp932) {
  return QString::fromStdString(platform::Cp932ToUtf8(cp932));
}

TEST(StartUp, FirstStartInAnEmptyFolderShowsDefaultsAndSavesBothFiles) {
  WindowRig rig(0);
  rig.Open();
  for (int n = 1; n <= 10; ++n) {
    EXPECT_EQ(rig.Button(FunctionButtonId(n))->text(), Shown(settings::kDefaultBankA[n - 1]));
    EXPECT_EQ(rig.window->Control(FunctionButtonId(n))->toolTip(),
              ToolTipText(Shown(settings::kDefaultBankA[n - 1])));
  }
  EXPECT_EQ(rig.Button(kIdF11)->text(), ">THL");
  EXPECT_EQ(rig.Button(kIdF12)->text(), "<THL");
  EXPECT_EQ(rig.window->Control(kIdHisCall)->toolTip(), "CallSign");
  EXPECT_EQ(rig.window->Control(kIdReport)->toolTip(), "RST");
  EXPECT_EQ(rig.Edit(kIdSpeed)->text(), "20");
  EXPECT_EQ(rig.Edit(kIdReport)->text(), "599");
  EXPECT_TRUE(rig.Button(kIdSequential)->isChecked());
  EXPECT_FALSE(rig.window->Control(kIdDecode)->isEnabled());
  EXPECT_FALSE(rig.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(QApplication::focusWidget(), rig.window->Control(kIdInput));
  EXPECT_EQ(rig.window->windowTitle(), "Vantrel");
  EXPECT_FALSE(std::filesystem::exists(rig.dir.path() / "Vantrel.cfg"));

  QRect frame = rig.window->frameGeometry();
  QSize inside = rig.window->size();
  rig.Click(kIdExit);

  EXPECT_FALSE(rig.window->isVisible());
  std::string cfg = rig.dir.Read("Vantrel.cfg");
  EXPECT_EQ(LineCount(cfg), 38);
  EXPECT_NE(cfg.find("WPM 20\n"), std::string::npos);
  std::string size = std::to_string(frame.x()) + "," + std::to_string(frame.y()) + "," +
                     std::to_string(frame.x() + inside.width()) + "," +
                     std::to_string(frame.y() + inside.height());
  EXPECT_EQ(rig.dir.Read("Vantrel.ini"), "[Window]\r\nSize=" + size + "\r\nTop=0\r\n");
  EXPECT_FALSE(rig.window->InstanceHeld());
}

struct SizeCase {
  const char* size;
  bool restored;
};

class SizeRestore : public testing::TestWithParam<SizeCase> {};

TEST_P(SizeRestore, FourNumbersPlaceAndSizeTheWindowOthersAreIgnored) {
  WindowRig rig(0);
  rig.dir.Write("Vantrel.ini", std::string("[Window]\nSize=") + GetParam().size + "\n");
  rig.Create();
  QSize template_size = rig.window->size();
  rig.Open();
  if (GetParam().restored) {
    EXPECT_EQ(rig.window->frameGeometry().topLeft(), QPoint(100, 50));
    EXPECT_EQ(rig.window->size(), QSize(400, 430));
  } else {
    EXPECT_EQ(rig.window->size(), template_size);
  }
}

INSTANTIATE_TEST_SUITE_P(Profile, SizeRestore,
                         testing::Values(SizeCase{"100,50,500,480", true},
                                         SizeCase{" 100, 50,500,480", true},
                                         SizeCase{"100,50,500", false},
                                         SizeCase{"x,50,500,480", false}, SizeCase{"", false}));

TEST(StartUp, ExitWhileMinimisedSavesTheNormalRectangle) {
  WindowRig rig(0);
  rig.dir.Write("Vantrel.ini", "[Window]\nSize=100,50,500,480\n");
  rig.Open();
  rig.window->showMinimized();
  EXPECT_TRUE(rig.window->isMinimized());
  rig.window->ExitWindow();
  EXPECT_FALSE(rig.window->isMinimized());
  EXPECT_EQ(rig.dir.Read("Vantrel.ini"), "[Window]\nSize=100,50,500,480\nTop=0\n");
}

TEST(StartUp, TopOfOneKeepsTheWindowOnTopAndIsSavedAgainWithOtherEntriesKept) {
  WindowRig rig(0);
  rig.dir.Write("Vantrel.ini",
                "[Other]\r\nKey=kept\r\n[Window]\r\nTop=1\r\nSize=1,2,3\r\nExtra=x\r\n");
  rig.Open();
  EXPECT_TRUE(rig.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(rig.window->Setup().AlwaysOnTop);
  QPoint corner = rig.window->frameGeometry().topLeft();
  QSize inside = rig.window->size();
  rig.window->close();
  std::string size = std::to_string(corner.x()) + "," + std::to_string(corner.y()) + "," +
                     std::to_string(corner.x() + inside.width()) + "," +
                     std::to_string(corner.y() + inside.height());
  EXPECT_EQ(rig.dir.Read("Vantrel.ini"),
            "[Other]\r\nKey=kept\r\n[Window]\r\nTop=1\r\nSize=" + size + "\r\nExtra=x\r\n");
}

TEST(StartUp, SettingsFileValuesReachTheWindow) {
  WindowRig rig(0);
  rig.dir.Write("Vantrel.cfg", "WPM 33\nFnMsgA03 QRZ?\n");
  rig.Open();
  EXPECT_EQ(rig.Edit(kIdSpeed)->text(), "33");
  EXPECT_EQ(rig.window->WPM, 33u);
  EXPECT_EQ(rig.window->Engine().GetSpeed(), 33u);
  EXPECT_EQ(rig.Button(FunctionButtonId(3))->text(), "QRZ?");
}

}  // namespace
}  // namespace vantrel::ui::rig
