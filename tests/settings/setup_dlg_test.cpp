#include "ui/setup_dlg.h"

#include <QComboBox>

#include <sstream>

#include <gtest/gtest.h>

#include "settings/data_table.h"
#include "settings/dialog_driver.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"
#include "ui/save_settings_report.h"
#include "ui/setup_dlg_ids.h"

namespace vantrel::ui {
namespace {

using namespace settings;

// A setup dialog whose banks hold "A1".."A10" and "B1".."B10", driven the way an operator does.
struct Rig : DialogDriver {
  Rig() : DialogDriver(dlg) {
    for (int i = 0; i < kMessageCount; ++i) {
      dlg.FnMsgA[i] = "A" + std::to_string(i + 1);
      dlg.FnMsgB[i] = "B" + std::to_string(i + 1);
    }
  }
  QString Text(int id) { return Edit(id)->text(); }
  bool Checked(int id) { return static_cast<QAbstractButton*>(dlg.Control(id))->isChecked(); }
  // Clicks the control; returns the text of the message boxes it showed.
  QString Press(int id) {
    const std::vector<QString> shown = ModalTextsDuring([&] { Click(id); });
    return QStringList(shown.begin(), shown.end()).join("");
  }

  CSetupDlg dlg;
};

// Each showing starts at bank A from the fields. A bank switch reads the fields first, showing
// why one is refused, and goes on; what was read before a refusal stays through Cancel, and only
// OK (Enter) takes the message edits.
TEST(SetupDlg, BanksAreSwitchedAndExchangedByEnterAndEscape) {
  Rig rig;
  ASSERT_TRUE(rig.Open());
  rig.Type(MessageEditId(4), "edited A4");
  rig.Type(kIdWeightDot, "2.5");
  EXPECT_EQ(rig.Press(kIdBankB), "");
  EXPECT_EQ(rig.Text(MessageEditId(4)), "B4");
  rig.Type(kIdCqLoopInterval, "61");
  EXPECT_EQ(rig.Press(kIdBankA), "0 から 60 までの数値を入力してください。");
  EXPECT_TRUE(rig.Checked(kIdBankA));
  EXPECT_EQ(rig.Text(MessageEditId(4)), "edited A4");
  rig.Type(kIdNumber, "42");
  rig.Type(kIdCqLoopInterval, "9");
  rig.Type(kIdPttdBefore, "101");
  EXPECT_NE(rig.Press(kIdOk), "");
  QTest::keyClick(rig.Edit(MessageEditId(4)), Qt::Key_Escape);
  EXPECT_EQ(rig.dlg.result(), QDialog::Rejected);
  EXPECT_EQ(rig.dlg.Number, "42");
  EXPECT_EQ(rig.dlg.CqLoopInterval, 9.0f);
  EXPECT_EQ(rig.dlg.PttdBefore, 25);
  EXPECT_EQ(rig.dlg.WeightDot, 2.5f);
  EXPECT_EQ(rig.dlg.FnMsgA[3], "A4");

  ASSERT_TRUE(rig.Open());
  EXPECT_TRUE(rig.Checked(kIdBankA));
  EXPECT_EQ(rig.Text(MessageEditId(4)), "A4");
  EXPECT_EQ(rig.Text(kIdWeightDot), "2.5");
  rig.Type(MessageEditId(2), "typed");
  rig.Type(kIdCqLoopInterval, "99");
  EXPECT_EQ(rig.Press(kIdBankA), "");
  rig.Type(kIdCqLoopInterval, "5");
  rig.Click(kIdBankB);
  rig.Type(MessageEditId(10), "  lead");
  rig.Click(kIdAlwaysOnTop);
  QTest::keyClick(rig.Edit(MessageEditId(10)), Qt::Key_Return);
  EXPECT_EQ(rig.dlg.result(), QDialog::Accepted);
  EXPECT_EQ(rig.dlg.FnMsgA[1], "typed");
  EXPECT_EQ(rig.dlg.FnMsgB[9], "  lead");
  EXPECT_TRUE(rig.dlg.AlwaysOnTop);
}

TEST(SetupDlg, OkTakesEachFieldOrRefusesItWithTheReason) {
  for (const auto& row : ReadTable(VANTREL_SETTINGS_DATA_DIR "/setup_fields.txt")) {
    const int id = std::stoi(row[0]);
    const std::string& stored = row[1];
    SCOPED_TRACE(stored);
    const QString message = row.size() > 2 ? QString::fromStdString(row[2]) : "";
    Rig rig;
    std::istringstream opening(row.size() == 4 ? stored : "");
    ReadSettings(rig.dlg, opening);
    ASSERT_TRUE(rig.Open());
    if (row.size() == 2) rig.Click(id);
    if (row.size() > 3) {
      EXPECT_EQ(rig.Text(id), QString::fromStdString(row[3]));
    }
    if (row.size() > 4) rig.Type(id, QString::fromStdString(row[4]));
    EXPECT_EQ(rig.Press(kIdOk), message);
    EXPECT_NE(("\n" + FormatSettings(rig.dlg)).find("\n" + stored + "\n"), std::string::npos);
    if (message.isEmpty()) {
      EXPECT_EQ(rig.dlg.result(), QDialog::Accepted);
      continue;
    }
    EXPECT_TRUE(QTest::qWaitForWindowActive(&rig.dlg));
    EXPECT_EQ(QApplication::focusWidget(), rig.dlg.Control(id));
    EXPECT_EQ(rig.Edit(id)->selectedText(), QString::fromStdString(row.back()));
  }
}

// From firmware 2 on the tone is picked from the list, whose first entry beginning with the
// text is selected.
TEST(SetupDlg, FirmwareEnablesOneFrequencyControlAndTheListTakesTheText) {
  for (const auto& row : ReadTable(VANTREL_SETTINGS_DATA_DIR "/side_tone_lists.txt")) {
    SCOPED_TRACE(row[0]);
    const int firmware = std::stoi(row[0]);
    Rig rig;
    rig.dlg.KnownFirmwareVersion = firmware;
    rig.dlg.SideToneFreqIf = row[1];
    ASSERT_TRUE(rig.Open());
    EXPECT_EQ(rig.dlg.Control(kIdSideToneFreqIf)->isEnabled(), firmware >= 2);
    EXPECT_EQ(rig.dlg.Control(kIdSideToneFreq)->isEnabled(), firmware < 2);
    auto* list = static_cast<QComboBox*>(rig.dlg.Control(kIdSideToneFreqIf));
    EXPECT_EQ(list->currentIndex(), std::stoi(row[2]));
    EXPECT_EQ(rig.Press(kIdOk), "");
    EXPECT_EQ(rig.dlg.SideToneFreqIfIndex, std::stoi(row[3]));
    EXPECT_EQ(rig.dlg.SideToneFreqIf, row.size() > 4 ? row[4] : "");
  }
}

TEST(SaveSettingsReporting, AFailureTellsTheOperatorAndKeepsTheOldFile) {
  TempDir dir;
  dir.Write("Vantrel.cfg", "old");
  std::filesystem::create_directory(dir.path() / "Vantrel.cfg.tmp");
  const auto shown = ModalTextsDuring(
      [&] { EXPECT_FALSE(SaveSettingsReporting(Settings{}, nullptr, dir.path())); });
  EXPECT_EQ(shown, std::vector<QString>{"設定を保存できません。"});
  EXPECT_EQ(dir.Read("Vantrel.cfg"), "old");
}

}  // namespace
}  // namespace vantrel::ui
