#include <QLabel>
#include <QMenu>

#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "keyer/keyer_messages.h"
#include "keyer/morse_code.h"
#include "ui/about_text.h"
#include "ui/main_dlg_ids.h"
#include "window_rig.h"

namespace vantrel::ui::rig {
namespace {

struct AboutCase {
  unsigned version;
  const char* text;
};

class AboutText : public testing::TestWithParam<AboutCase> {};

TEST_P(AboutText, PutsAPointBeforeTheLastDigit) {
  EXPECT_EQ(AboutVersionText(GetParam().version), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Versions, AboutText,
                         testing::Values(AboutCase{23, "Halvix Ver.2.3"},
                                         AboutCase{10, "Halvix Ver.1.0"},
                                         AboutCase{0, "Halvix Ver..0"},
                                         AboutCase{100, "Halvix Ver.10.0"}));

QString AboutVersionShown(QWidget* modal) {
  auto* label = modal->findChild<QLabel*>(QString::number(kIdAboutVersion));
  return label ? modal->windowTitle() + "|" + label->text() : QString();
}

TEST(AboutBox, ShiftF10OpensTheWindowMenuWhoseEntryShowsTheInterfaceVersion) {
  WindowRig rig(23);
  rig.Open();
  QTest::keyClick(rig.Edit(kIdInput), Qt::Key_F10, Qt::ShiftModifier);
  QMenu* menu = rig.window->WindowMenu();
  ASSERT_TRUE(menu->isVisible());
  EXPECT_EQ(menu->actions().at(0)->text(), "Vantrel のバージョン情報(&A)...");
  std::vector<QString> shown =
      WindowRig::ModalTextsDuring([&] { QTest::keyClick(menu, Qt::Key_A); }, AboutVersionShown);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "Vantrelのバージョン情報|Halvix Ver.2.3");
  EXPECT_TRUE(rig.window->isVisible());
}

TEST(AboutBox, WithoutAnInterfaceShowsVersionZero) {
  WindowRig rig(0);
  rig.Open();
  std::vector<QString> shown =
      WindowRig::ModalTextsDuring([&] { rig.window->ShowAbout(); }, AboutVersionShown);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "Vantrelのバージョン情報|Halvix Ver..0");
}

TEST(Frame, EscapeInAnyControlNeverClosesTheWindow) {
  WindowRig rig(23);
  rig.Open();
  for (int id : {kIdInput, kIdHisCall, kIdReport, kIdSpeed, kIdLog, kIdPtt, kIdExit}) {
    QWidget* control = rig.window->Control(id);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_Escape);
    EXPECT_TRUE(rig.window->isVisible()) << id;
  }
  EXPECT_FALSE(std::filesystem::exists(rig.dir.path() / "Vantrel.cfg"));
  EXPECT_TRUE(rig.window->InstanceHeld());
}

TEST(Frame, TheCloseBoxStopsTheKeyerAndSavesBothFiles) {
  WindowRig rig(23);
  rig.Open();
  rig.Type(kIdSpeed, "27");
  rig.TakeWrites();
  EXPECT_TRUE(rig.window->close());
  EXPECT_FALSE(rig.window->isVisible());
  EXPECT_EQ(rig.window->result(), QDialog::Rejected);
  EXPECT_EQ(rig.TakeWrites(),
            (std::vector<std::vector<std::uint8_t>>{Report("00 34"), Report("00 35 00 00")}));
  EXPECT_NE(rig.dir.Read("Vantrel.cfg").find("WPM 27\n"), std::string::npos);
  EXPECT_NE(rig.dir.Read("Vantrel.ini").find("[Window]\r\nSize="), std::string::npos);
  EXPECT_FALSE(rig.window->InstanceHeld());
}

// A decoded character posted from another thread reaches the log through the window's queue.
TEST(Frame, KeyerNotificationsArriveOnTheWindowsThread) {
  WindowRig rig(0);
  rig.Open();
  std::thread poster([&] {
    platform::EventTargetWindow target(rig.window.get());
    target.Post(WM_KEYER_DECODED, keyer::FindCharacterIndex('K'), 0);
  });
  poster.join();
  QTRY_COMPARE(static_cast<QPlainTextEdit*>(rig.window->Control(kIdLog))->toPlainText(), "K");
}

}  // namespace
}  // namespace vantrel::ui::rig
