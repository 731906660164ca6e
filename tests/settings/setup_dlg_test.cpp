#include "ui/setup_dlg.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include "settings/dialog_driver.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"
#include "ui/dialog_template.h"
#include "ui/save_settings_report.h"
#include "ui/setup_dlg_ids.h"
#include "ui/setup_dlg_template.h"

namespace vantrel::ui {
namespace {

using namespace settings;

struct DialogHolder {
  CSetupDlg dlg;
};

// A setup dialog whose banks hold "A1".."A10" and "B1".."B10", driven the way an operator does.
struct Rig : DialogHolder, DialogDriver {
  Rig() : DialogDriver(dlg) {
    for (int i = 0; i < kMessageCount; ++i) {
      dlg.FnMsgA[i] = "A" + std::to_string(i + 1);
      dlg.FnMsgB[i] = "B" + std::to_string(i + 1);
    }
  }
  QString Text(int id) { return Edit(id)->text(); }
  bool Checked(int id) { return static_cast<QAbstractButton*>(dlg.Control(id))->isChecked(); }
  QComboBox* SideToneList() { return static_cast<QComboBox*>(dlg.Control(kIdSideToneFreqIf)); }
  QString PressOk() {
    return DialogDriver::MessageDuring([this] { Click(kIdOk); });
  }
  // Whether the settings file written now would hold `line`.
  bool Stores(const std::string& line) {
    return ("\n" + FormatSettings(dlg)).find("\n" + line + "\n") != std::string::npos;
  }
};

TEST(SetupDlg, BanksAreSwitchedAndExchangedByEnterAndEscape) {
  Rig rig;
  ASSERT_TRUE(rig.Open());
  rig.Type(MessageEditId(3), "new A3");
  rig.Click(kIdBankB);
  EXPECT_EQ(rig.Text(MessageEditId(3)), "B3");
  rig.Type(MessageEditId(3), "new B3");
  rig.Click(kIdBankA);
  EXPECT_EQ(rig.Text(MessageEditId(3)), "new A3");
  QTest::keyClick(rig.Edit(MessageEditId(3)), Qt::Key_Escape);
  EXPECT_EQ(rig.dlg.result(), QDialog::Rejected);
  EXPECT_FALSE(rig.dlg.isVisible());
  EXPECT_EQ(rig.dlg.FnMsgA[2], "A3");
  EXPECT_EQ(rig.dlg.FnMsgB[2], "B3");

  ASSERT_TRUE(rig.Open());
  rig.Click(kIdBankB);
  QTest::keyClick(&rig.dlg, Qt::Key_Escape);
  ASSERT_TRUE(rig.Open());
  EXPECT_TRUE(rig.Checked(kIdBankA));
  EXPECT_EQ(rig.Text(MessageEditId(3)), "A3");
  rig.Type(MessageEditId(2), "typed");
  rig.Type(kIdCqLoopInterval, "99");
  EXPECT_EQ(DialogDriver::MessageDuring([&] { rig.Click(kIdBankA); }), "");
  EXPECT_EQ(rig.Text(MessageEditId(2)), "typed");
  EXPECT_EQ(rig.dlg.MessageFields[1], "A2");
  rig.Type(kIdCqLoopInterval, "5");
  rig.Click(kIdBankB);
  rig.Type(MessageEditId(10), "  lead");
  rig.Click(kIdAlwaysOnTop);
  QTest::keyClick(rig.Edit(MessageEditId(10)), Qt::Key_Return);
  EXPECT_EQ(rig.dlg.result(), QDialog::Accepted);
  EXPECT_EQ(rig.dlg.FnMsgA[1], "typed");
  EXPECT_EQ(rig.dlg.FnMsgB[9], "  lead");
  EXPECT_EQ(rig.dlg.FnMsgA[9], "A10");
  EXPECT_TRUE(rig.dlg.AlwaysOnTop);
}

TEST(SetupDlg, TabMovesThroughTheControlsInTemplateOrderFromTheFirst) {
  Rig rig;
  rig.dlg.KnownFirmwareVersion = 23;
  ASSERT_TRUE(rig.Open());
  std::vector<int> expected = {kIdBankA};
  for (int n = 1; n <= kMessageCount; ++n) expected.push_back(MessageEditId(n));
  expected.insert(expected.end(),
                  {kIdMyCall,       kIdPttdBefore,     kIdPttdAfter,       kIdWeightDot,
                   kIdWeightDash,   kIdIntervalChar,   kIdIntervalWord,    kIdNumber,
                   kIdAuto,         kIdCqLoopInterval, kIdPaddleRvs,       kIdPttCtrl,
                   kIdSideTone,     kIdSideToneFreqIf, kIdLogTime,         kIdAlwaysOnTop,
                   kIdOk,           kIdCancel,         kIdNetKeyerEnabled, kIdNetKeyerAddress,
                   kIdNetKeyerPort, kIdBankA});
  std::vector<int> seen;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    QWidget* focus = QApplication::focusWidget();
    int id = 0;
    for (int candidate : expected) {
      if (rig.dlg.Control(candidate) == focus) id = candidate;
    }
    seen.push_back(id);
    QTest::keyClick(focus, Qt::Key_Tab);
  }
  EXPECT_EQ(seen, expected);
}

TEST(SetupDlg, OkTakesEachFieldOrRefusesItWithTheReason) {
  struct Case {
    int id;
    const char* shown;    // in the edit as the dialog opens
    const char* typed;    // nullptr: the check box is clicked
    const char* message;  // empty when the value is taken
    std::string stored;   // the line the settings file then holds
  };
  const char* const kDecimal = "数値を入力してください。";
  const char* const kPositive = "正の整数を入力してください。";
  const Case cases[] = {
      {kIdCqLoopInterval, "5", "60", "", "CqLoopInterval 60.000000"},
      {kIdCqLoopInterval, "5", " 7.5 ", "", "CqLoopInterval 7.500000"},
      {kIdCqLoopInterval, "5", "60.1", "0 から 60 までの数値を入力してください。",
       "CqLoopInterval 5.000000"},
      {kIdCqLoopInterval, "5", "", kDecimal, "CqLoopInterval 5.000000"},
      {kIdCqLoopInterval, "5", "5s", kDecimal, "CqLoopInterval 5.000000"},
      {kIdPttdBefore, "25", "100", "", "PttdBefore 100"},
      {kIdPttdBefore, "25", "101", "0 から 100 までの整数を入力してください。", "PttdBefore 25"},
      {kIdPttdAfter, "200", "0", "", "PttdAfter 0"},
      {kIdPttdAfter, "200", "-1", kPositive, "PttdAfter 200"},
      {kIdPttdAfter, "200", "", kPositive, "PttdAfter 200"},
      {kIdSideToneFreq, "880", "3000", "", "SideToneFreq 3000"},
      {kIdSideToneFreq, "880", "299", "300 から 3000 までの整数を入力してください。",
       "SideToneFreq 880"},
      {kIdWeightDot, "1", "0.5", "", "WeightDot 0.500000"},
      {kIdWeightDot, "1", "5.5", "0 から 5 までの数値を入力してください。", "WeightDot 1.000000"},
      {kIdWeightDash, "3", "4", "", "WeightDash 4.000000"},
      {kIdIntervalChar, "3", "2", "", "IntervalChar 2.000000"},
      {kIdIntervalChar, "3", "1.9", "2 から 10 までの数値を入力してください。",
       "IntervalChar 3.000000"},
      {kIdIntervalWord, "7", "20", "", "IntervalWord 20.000000"},
      {kIdIntervalWord, "7", "2", "3 から 20 までの数値を入力してください。",
       "IntervalWord 7.000000"},
      {kIdNumber, "11M", "001", "", "Number 001"},
      {kIdMyCall, "N0CALL", "JA1XYZ", "", "MyCALL JA1XYZ"},
      {MessageEditId(10), "A10", "ｱｲｳ テスト", "",
       "FnMsgA10 \xB1\xB2\xB3 \x83\x65\x83\x58\x83\x67"},
      {kIdAuto, nullptr, nullptr, "", "Auto TRUE"},
      {kIdPaddleRvs, nullptr, nullptr, "", "PaddleRvs TRUE"},
      {kIdPttCtrl, nullptr, nullptr, "", "PTTCtrl TRUE"},
      {kIdSideTone, nullptr, nullptr, "", "SideTone TRUE"},
      {kIdLogTime, nullptr, nullptr, "", "LogTime TRUE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    Rig rig;
    ASSERT_TRUE(rig.Open());
    rig.Type(kIdMessage1, "kept edit");
    if (c.typed) {
      EXPECT_EQ(rig.Text(c.id), c.shown);
      rig.Type(c.id, QString::fromUtf8(c.typed));
    } else {
      rig.Click(c.id);
    }
    EXPECT_EQ(rig.PressOk(), QString::fromUtf8(c.message));
    EXPECT_TRUE(rig.Stores(c.stored));
    if (*c.message == '\0') {
      EXPECT_EQ(rig.dlg.result(), QDialog::Accepted);
      EXPECT_EQ(rig.dlg.FnMsgA[0], "kept edit");
      continue;
    }
    EXPECT_TRUE(rig.dlg.isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&rig.dlg));
    EXPECT_EQ(QApplication::focusWidget(), rig.dlg.Control(c.id));
    EXPECT_EQ(rig.Edit(c.id)->selectedText(), QString::fromUtf8(c.typed));
    EXPECT_EQ(rig.dlg.FnMsgA[0], "A1");
    EXPECT_EQ(rig.dlg.MessageFields[0], "kept edit");
  }
}

TEST(SetupDlg, FieldsReadBeforeAFailureKeepTheirNewValues) {
  Rig rig;
  ASSERT_TRUE(rig.Open());
  rig.Type(kIdNumber, "42");
  rig.Type(kIdCqLoopInterval, "9");
  rig.Type(kIdPttdBefore, "101");
  rig.Type(kIdWeightDot, "2");
  EXPECT_NE(rig.PressOk(), "");
  EXPECT_EQ(rig.dlg.Number, "42");
  EXPECT_EQ(rig.dlg.CqLoopInterval, 9.0f);
  EXPECT_EQ(rig.dlg.PttdBefore, 25);
  EXPECT_EQ(rig.dlg.WeightDot, 1.0f);
}

TEST(SetupDlg, BankSwitchReadsTheNumbersAndSurvivesCancel) {
  Rig rig;
  ASSERT_TRUE(rig.Open());
  rig.Type(MessageEditId(4), "edited A4");
  rig.Type(kIdWeightDot, "2.5");
  EXPECT_EQ(DialogDriver::MessageDuring([&] { rig.Click(kIdBankB); }), "");
  EXPECT_EQ(rig.Text(MessageEditId(4)), "B4");
  rig.Type(kIdCqLoopInterval, "61");
  EXPECT_EQ(DialogDriver::MessageDuring([&] { rig.Click(kIdBankA); }),
            "0 から 60 までの数値を入力してください。");
  EXPECT_TRUE(rig.Checked(kIdBankA));
  EXPECT_EQ(rig.Text(MessageEditId(4)), "edited A4");
  EXPECT_EQ(rig.Text(kIdCqLoopInterval), "5");
  rig.Click(kIdCancel);
  EXPECT_EQ(rig.dlg.WeightDot, 2.5f);
  EXPECT_EQ(rig.dlg.FnMsgA[3], "A4");
  ASSERT_TRUE(rig.Open());
  EXPECT_EQ(rig.Text(kIdWeightDot), "2.5");
}

TEST(SetupDlg, FirmwareEnablesExactlyOneFrequencyControl) {
  for (const auto& [firmware, list] :
       {std::pair{0, false}, {1, false}, {2, true}, {19, true}, {20, true}, {23, true}}) {
    Rig rig;
    rig.dlg.KnownFirmwareVersion = firmware;
    ASSERT_TRUE(rig.Open());
    EXPECT_EQ(rig.dlg.Control(kIdSideToneFreqIf)->isEnabled(), list) << firmware;
    EXPECT_EQ(rig.dlg.Control(kIdSideToneFreq)->isEnabled(), !list) << firmware;
  }
}

TEST(SetupDlg, SideToneListSelectsTheFirstEntryBeginningWithTheText) {
  struct Case {
    const char* text;
    int selected;
    int index;
    std::string stored;
  };
  const Case cases[] = {{"558", 7, 7, "558"},
                        {"3906", 1, 1, "3906"},
                        {"3", 1, 1, "3906"},
                        {"300", 13, 13, "300"},
                        {"1000", -1, 7, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Rig rig;
    rig.dlg.SideToneFreqIf = c.text;
    ASSERT_TRUE(rig.Open());
    EXPECT_EQ(rig.SideToneList()->currentIndex(), c.selected);
    EXPECT_EQ(rig.PressOk(), "");
    EXPECT_EQ(rig.dlg.SideToneFreqIfIndex, c.index);
    EXPECT_EQ(rig.dlg.SideToneFreqIf, c.stored);
  }
  Rig rig;
  rig.dlg.KnownFirmwareVersion = 23;
  ASSERT_TRUE(rig.Open());
  ASSERT_EQ(rig.SideToneList()->count(), 14);
  rig.SideToneList()->setFocus();
  QTest::keyClick(rig.SideToneList(), Qt::Key_Home);
  EXPECT_EQ(rig.SideToneList()->currentText(), "なし");
  EXPECT_EQ(rig.PressOk(), "");
  EXPECT_EQ(rig.dlg.SideToneFreqIfIndex, 0);
  EXPECT_EQ(rig.dlg.SideToneFreqIf, SideToneFreqList[0]);
}

TEST(SetupDlg, TextsStayWithin256Cp932Bytes) {
  Rig rig;
  ASSERT_TRUE(rig.Open());
  rig.Type(kIdMessage1, QString(256, u'x'));
  QTest::keyClicks(rig.Edit(kIdMessage1), "y");
  EXPECT_EQ(rig.Text(kIdMessage1), QString(256, u'x'));
  rig.Type(MessageEditId(2), QString(127, u'あ') + "xx");
  DialogDriver::TypeText(rig.Edit(MessageEditId(2)), "あ");
  EXPECT_EQ(rig.Text(MessageEditId(2)), QString(127, u'あ') + "xx");
  rig.Type(kIdMyCall, QString(256, u'ｱ'));
  QTest::keyClicks(rig.Edit(kIdMyCall), "1");
  rig.Type(kIdNumber, "5");
  DialogDriver::TypeText(rig.Edit(kIdNumber), QString::fromUtf8("\xF0\x9F\x98\x80"));
  EXPECT_EQ(rig.Text(kIdNumber), "5");
  EXPECT_EQ(rig.PressOk(), "");
  EXPECT_EQ(rig.dlg.FnMsgA[0], std::string(256, 'x'));
  EXPECT_EQ(rig.dlg.FnMsgA[1].size(), 256u);
  EXPECT_EQ(rig.dlg.MyCALL, std::string(256, '\xB1'));

  Rig overlong;
  overlong.dlg.MyCALL = std::string(300, 'C');
  ASSERT_TRUE(overlong.Open());
  EXPECT_EQ(overlong.PressOk(), "256 バイト以内で入力してください。");
  EXPECT_TRUE(QTest::qWaitForWindowActive(&overlong.dlg));
  EXPECT_EQ(QApplication::focusWidget(), overlong.dlg.Control(kIdMyCall));
  EXPECT_TRUE(overlong.dlg.isVisible());
}

TEST(SetupDlg, ControlsSitWhereTheTemplateScaledByTheFontPutsThemAndCaptionsFit) {
  CSetupDlg dlg;
  const DialogUnits units = DialogUnitsFor(dlg.font());
  const DialogTemplate& setup = SetupDialogTemplate();
  EXPECT_EQ(dlg.size(), QSize(units.X(setup.width), units.Y(setup.height)));
  EXPECT_EQ(dlg.windowTitle(), "Vantrel Setup");
  for (const ControlSpec& spec : setup.controls) {
    if (spec.id == 0) continue;
    const QRect placed = dlg.Control(spec.id)->geometry();
    EXPECT_EQ(placed.topLeft(), QPoint(units.X(spec.x), units.Y(spec.y))) << spec.id;
    EXPECT_EQ(placed.height(), units.Y(spec.height)) << spec.id;
    EXPECT_GE(placed.width(), units.X(spec.width)) << spec.id;
    EXPECT_LE(placed.right(), dlg.width()) << spec.id;
  }
  for (QWidget* child : dlg.findChildren<QWidget*>()) {
    QString text;
    if (auto* label = qobject_cast<QLabel*>(child)) text = label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(child)) text = button->text();
    if (text.isEmpty()) continue;
    const int needed = qobject_cast<QPushButton*>(child)
                           ? child->fontMetrics().horizontalAdvance(QString(text).remove(u'&')) + 8
                           : child->sizeHint().width();
    EXPECT_LE(needed, child->width()) << text.toStdString();
    EXPECT_LE(child->fontMetrics().height(), child->height()) << text.toStdString();
  }
}

TEST(SetupDlg, LabelMnemonicsLeadToTheirControls) {
  CSetupDlg dlg;
  std::map<QString, int> expected = {
      {"Fn 0&1", MessageEditId(1)},    {"Fn 1&0", MessageEditId(10)},
      {"コールサイン(&M)", kIdMyCall}, {"&PTTディレイ", kIdPttdBefore},
      {"ドット(&D)", kIdWeightDot},    {"単語間(&W)", kIdIntervalWord},
      {"初期値(&N)", kIdNumber},       {"C&Q間隔", kIdCqLoopInterval}};
  for (QLabel* label : dlg.findChildren<QLabel*>()) {
    auto it = expected.find(label->text());
    if (it == expected.end()) continue;
    EXPECT_EQ(label->buddy(), dlg.Control(it->second)) << label->text().toStdString();
    expected.erase(it);
  }
  EXPECT_TRUE(expected.empty());
}

TEST(SaveSettingsReporting, OnlyAFailureTellsTheOperator) {
  TempDir dir;
  bool saved = false;
  QString message = DialogDriver::MessageDuring(
      [&] { saved = SaveSettingsReporting(Settings{}, nullptr, dir.path()); });
  EXPECT_TRUE(saved);
  EXPECT_EQ(message, "");
  EXPECT_EQ(dir.Read("Vantrel.cfg"), FormatSettings(Settings{}));
  std::filesystem::create_directory(dir.path() / "Vantrel.cfg.tmp");
  Settings changed;
  changed.WPM = 30;
  message = DialogDriver::MessageDuring(
      [&] { saved = SaveSettingsReporting(changed, nullptr, dir.path()); });
  EXPECT_FALSE(saved);
  EXPECT_EQ(message, "設定を保存できません。");
  EXPECT_EQ(dir.Read("Vantrel.cfg"), FormatSettings(Settings{}));
}

}  // namespace
}  // namespace vantrel::ui
