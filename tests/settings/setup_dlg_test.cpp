#include "ui/setup_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

#include <gtest/gtest.h>

#include "settings/dialog_driver.h"
#include "ui/setup_dlg_ids.h"

namespace vantrel::ui {
namespace {

using namespace settings;

const std::string kNone = "\x82\xC8\x82\xB5";

class SetupDlgTest : public testing::Test {
 protected:
  SetupDlgTest() : ui_(dlg_) {
    for (int i = 0; i < kMessageCount; ++i) {
      dlg_.FnMsgA[i] = "A" + std::to_string(i + 1);
      dlg_.FnMsgB[i] = "B" + std::to_string(i + 1);
    }
  }

  bool Checked(int id) { return static_cast<QAbstractButton*>(dlg_.Control(id))->isChecked(); }
  QString Text(int id) { return ui_.Edit(id)->text(); }
  QComboBox* SideToneList() { return static_cast<QComboBox*>(dlg_.Control(kIdSideToneFreqIf)); }

  // Presses OK and returns the message it raised, if any.
  QString PressOk() {
    return DialogDriver::MessageDuring([this] { ui_.Click(kIdOk); });
  }

  CSetupDlg dlg_;
  DialogDriver ui_;
};

TEST_F(SetupDlgTest, OpensOnBankAWhateverWasShownLast) {
  ASSERT_TRUE(ui_.Open());
  EXPECT_TRUE(Checked(kIdBankA));
  EXPECT_EQ(Text(MessageEditId(1)), "A1");
  EXPECT_EQ(Text(MessageEditId(10)), "A10");
  ui_.Click(kIdBankB);
  EXPECT_TRUE(Checked(kIdBankB));
  EXPECT_EQ(Text(MessageEditId(3)), "B3");
  QTest::keyClick(&dlg_, Qt::Key_Escape);
  EXPECT_FALSE(dlg_.isVisible());
  EXPECT_EQ(dlg_.result(), QDialog::Rejected);

  ASSERT_TRUE(ui_.Open());
  EXPECT_TRUE(Checked(kIdBankA));
  EXPECT_FALSE(Checked(kIdBankB));
  EXPECT_EQ(Text(MessageEditId(3)), "A3");
}

TEST_F(SetupDlgTest, FirstControlOfTheTabOrderHasTheFocus) {
  ASSERT_TRUE(ui_.Open());
  EXPECT_EQ(QApplication::focusWidget(), dlg_.Control(kIdBankA));
}

TEST_F(SetupDlgTest, TabMovesThroughTheControlsInTemplateOrder) {
  dlg_.KnownFirmwareVersion = 23;
  ASSERT_TRUE(ui_.Open());
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
      if (dlg_.Control(candidate) == focus) id = candidate;
    }
    seen.push_back(id);
    QTest::keyClick(focus, Qt::Key_Tab);
  }
  EXPECT_EQ(seen, expected);
}

TEST_F(SetupDlgTest, EditsInBothBanksAreCommittedByOk) {
  ASSERT_TRUE(ui_.Open());
  ui_.Type(MessageEditId(3), "new A3");
  ui_.Click(kIdBankB);
  EXPECT_EQ(Text(MessageEditId(3)), "B3");
  ui_.Type(MessageEditId(3), "new B3");
  ui_.Click(kIdBankA);
  EXPECT_EQ(Text(MessageEditId(3)), "new A3");
  EXPECT_EQ(PressOk(), "");
  EXPECT_EQ(dlg_.result(), QDialog::Accepted);
  EXPECT_EQ(dlg_.FnMsgA[2], "new A3");
  EXPECT_EQ(dlg_.FnMsgB[2], "new B3");
  EXPECT_EQ(dlg_.FnMsgA[0], "A1");
  EXPECT_EQ(dlg_.FnMsgB[9], "B10");
}

TEST_F(SetupDlgTest, EditsInBothBanksAreDroppedByCancel) {
  ASSERT_TRUE(ui_.Open());
  ui_.Type(MessageEditId(3), "new A3");
  ui_.Click(kIdBankB);
  ui_.Type(MessageEditId(3), "new B3");
  ui_.Click(kIdBankA);
  ui_.Click(kIdCancel);
  EXPECT_EQ(dlg_.result(), QDialog::Rejected);
  EXPECT_FALSE(dlg_.isVisible());
  EXPECT_EQ(dlg_.FnMsgA[2], "A3");
  EXPECT_EQ(dlg_.FnMsgB[2], "B3");
}

TEST_F(SetupDlgTest, OkWhileBankBIsShownCommitsTheShownEdits) {
  ASSERT_TRUE(ui_.Open());
  ui_.Click(kIdBankB);
  ui_.Type(MessageEditId(10), "  lead");
  EXPECT_EQ(PressOk(), "");
  EXPECT_EQ(dlg_.FnMsgB[9], "  lead");
  EXPECT_EQ(dlg_.FnMsgA[9], "A10");
}

TEST_F(SetupDlgTest, ClickingTheShownBankChangesNothing) {
  ASSERT_TRUE(ui_.Open());
  ui_.Type(MessageEditId(2), "typed");
  ui_.Type(kIdCqLoopInterval, "99");
  EXPECT_EQ(DialogDriver::MessageDuring([this] { ui_.Click(kIdBankA); }), "");
  EXPECT_TRUE(Checked(kIdBankA));
  EXPECT_EQ(Text(MessageEditId(2)), "typed");
  EXPECT_EQ(dlg_.MessageFields[1], "A2");
}

TEST_F(SetupDlgTest, EnterPressesOkAndEscapeCancels) {
  ASSERT_TRUE(ui_.Open());
  ui_.Type(kIdMyCall, "JA1XYZ");
  QTest::keyClick(ui_.Edit(kIdMyCall), Qt::Key_Return);
  EXPECT_EQ(dlg_.result(), QDialog::Accepted);
  EXPECT_EQ(dlg_.MyCALL, "JA1XYZ");

  ASSERT_TRUE(ui_.Open());
  ui_.Type(kIdMessage1, "dropped");
  QTest::keyClick(ui_.Edit(kIdMessage1), Qt::Key_Escape);
  EXPECT_EQ(dlg_.result(), QDialog::Rejected);
  EXPECT_EQ(dlg_.FnMsgA[0], "A1");
}

TEST_F(SetupDlgTest, ShowsNumbersInShortForm) {
  dlg_.WeightDot = 0.5f;
  dlg_.WeightDash = 5.0f;
  dlg_.CqLoopInterval = 12.25f;
  dlg_.IntervalWord = 0.1f;
  dlg_.PttdAfter = 500;
  ASSERT_TRUE(ui_.Open());
  EXPECT_EQ(Text(kIdWeightDot), "0.5");
  EXPECT_EQ(Text(kIdWeightDash), "5");
  EXPECT_EQ(Text(kIdCqLoopInterval), "12.25");
  EXPECT_EQ(Text(kIdIntervalWord), "0.1");
  EXPECT_EQ(Text(kIdPttdAfter), "500");
  EXPECT_EQ(Text(kIdSideToneFreq), "880");
}

TEST_F(SetupDlgTest, ReadsEverySettingOnOk) {
  ASSERT_TRUE(ui_.Open());
  ui_.Click(kIdPttCtrl);
  ui_.Click(kIdPaddleRvs);
  ui_.Click(kIdAuto);
  ui_.Click(kIdLogTime);
  ui_.Click(kIdSideTone);
  ui_.Click(kIdAlwaysOnTop);
  ui_.Type(kIdNumber, "001");
  ui_.Type(kIdCqLoopInterval, "7.5");
  ui_.Type(kIdPttdAfter, "0");
  ui_.Type(kIdPttdBefore, "100");
  ui_.Type(kIdWeightDash, "4");
  ui_.Type(kIdWeightDot, "0.5");
  ui_.Type(kIdIntervalChar, "2");
  ui_.Type(kIdIntervalWord, "20");
  ui_.Type(kIdSideToneFreq, "3000");
  ui_.Type(kIdMessage1, "ｱｲｳ テスト");
  EXPECT_EQ(PressOk(), "");
  EXPECT_TRUE(dlg_.PTTCtrl && dlg_.PaddleRvs && dlg_.Auto && dlg_.LogTime && dlg_.SideTone &&
              dlg_.AlwaysOnTop);
  EXPECT_EQ(dlg_.Number, "001");
  EXPECT_EQ(dlg_.CqLoopInterval, 7.5f);
  EXPECT_EQ(dlg_.PttdAfter, 0);
  EXPECT_EQ(dlg_.PttdBefore, 100);
  EXPECT_EQ(dlg_.WeightDash, 4.0f);
  EXPECT_EQ(dlg_.WeightDot, 0.5f);
  EXPECT_EQ(dlg_.IntervalChar, 2.0f);
  EXPECT_EQ(dlg_.IntervalWord, 20.0f);
  EXPECT_EQ(dlg_.SideToneFreq, 3000);
  EXPECT_EQ(dlg_.FnMsgA[0], "\xB1\xB2\xB3 \x83\x65\x83\x58\x83\x67");
  EXPECT_EQ(dlg_.SideToneFreqIf, "558");
  EXPECT_EQ(dlg_.SideToneFreqIfIndex, 7);
}

struct FieldCase {
  const char* name;
  int id;
  const char* typed;
  const char* message;  // empty when the value is taken
};

void PrintTo(const FieldCase& c, std::ostream* os) {
  *os << c.name;
}

class FieldValidation : public SetupDlgTest, public testing::WithParamInterface<FieldCase> {};

TEST_P(FieldValidation, RefusesWithTheReasonAndFocusesTheField) {
  const FieldCase& c = GetParam();
  ASSERT_TRUE(ui_.Open());
  ui_.Type(MessageEditId(1), "kept edit");
  ui_.Type(c.id, QString::fromUtf8(c.typed));
  EXPECT_EQ(PressOk(), QString::fromUtf8(c.message));
  if (*c.message == '\0') {
    EXPECT_EQ(dlg_.result(), QDialog::Accepted);
    EXPECT_EQ(dlg_.FnMsgA[0], "kept edit");
    return;
  }
  EXPECT_TRUE(dlg_.isVisible());
  EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg_));
  EXPECT_EQ(QApplication::focusWidget(), dlg_.Control(c.id));
  EXPECT_EQ(ui_.Edit(c.id)->selectedText(), QString::fromUtf8(c.typed));
  EXPECT_EQ(dlg_.FnMsgA[0], "A1");
  EXPECT_EQ(dlg_.MessageFields[0], "kept edit");
}

INSTANTIATE_TEST_SUITE_P(
    SetupDlg, FieldValidation,
    testing::Values(
        FieldCase{"Cq60Taken", kIdCqLoopInterval, "60", ""},
        FieldCase{"Cq60point1Refused", kIdCqLoopInterval, "60.1",
                  "0 から 60 までの数値を入力してください。"},
        FieldCase{"CqEmptyRefused", kIdCqLoopInterval, "", "数値を入力してください。"},
        FieldCase{"CqTextRefused", kIdCqLoopInterval, "5s", "数値を入力してください。"},
        FieldCase{"PttdBefore100Taken", kIdPttdBefore, "100", ""},
        FieldCase{"PttdBefore101Refused", kIdPttdBefore, "101",
                  "0 から 100 までの整数を入力してください。"},
        FieldCase{"PttdAfterSignRefused", kIdPttdAfter, "-1", "正の整数を入力してください。"},
        FieldCase{"PttdAfterEmptyRefused", kIdPttdAfter, "", "正の整数を入力してください。"},
        FieldCase{"SideToneFreq299Refused", kIdSideToneFreq, "299",
                  "300 から 3000 までの整数を入力してください。"},
        FieldCase{"SideToneFreq300Taken", kIdSideToneFreq, "300", ""},
        FieldCase{"WeightDot5point5Refused", kIdWeightDot, "5.5",
                  "0 から 5 までの数値を入力してください。"},
        FieldCase{"IntervalChar1point9Refused", kIdIntervalChar, "1.9",
                  "2 から 10 までの数値を入力してください。"},
        FieldCase{"IntervalWord2Refused", kIdIntervalWord, "2",
                  "3 から 20 までの数値を入力してください。"}),
    [](const testing::TestParamInfo<FieldCase>& info) { return std::string(info.param.name); });

TEST_F(SetupDlgTest, FieldsReadBeforeAFailureKeepTheirNewValues) {
  ASSERT_TRUE(ui_.Open());
  ui_.Type(kIdNumber, "42");
  ui_.Type(kIdCqLoopInterval, "9");
  ui_.Type(kIdPttdBefore, "101");
  ui_.Type(kIdWeightDot, "2");
  EXPECT_NE(PressOk(), "");
  EXPECT_EQ(dlg_.Number, "42");
  EXPECT_EQ(dlg_.CqLoopInterval, 9.0f);
  EXPECT_EQ(dlg_.PttdBefore, 25);
  EXPECT_EQ(dlg_.WeightDot, 1.0f);
}

TEST_F(SetupDlgTest, BankSwitchWithABadFieldShowsTheMessageAndStillSwitches) {
  ASSERT_TRUE(ui_.Open());
  ui_.Type(MessageEditId(4), "edited A4");
  ui_.Type(kIdCqLoopInterval, "61");
  QString message = DialogDriver::MessageDuring([this] { ui_.Click(kIdBankB); });
  EXPECT_EQ(message, "0 から 60 までの数値を入力してください。");
  EXPECT_TRUE(Checked(kIdBankB));
  EXPECT_EQ(Text(MessageEditId(4)), "B4");
  EXPECT_EQ(Text(kIdCqLoopInterval), "5");
  EXPECT_EQ(dlg_.WorkBankA[3], "edited A4");
}

TEST_F(SetupDlgTest, WeightChangedBeforeABankSwitchSurvivesCancel) {
  ASSERT_TRUE(ui_.Open());
  ui_.Type(kIdWeightDot, "2.5");
  ui_.Click(kIdBankB);
  ui_.Click(kIdCancel);
  EXPECT_EQ(dlg_.WeightDot, 2.5f);
  EXPECT_EQ(dlg_.FnMsgB[0], "B1");
  ASSERT_TRUE(ui_.Open());
  EXPECT_EQ(Text(kIdWeightDot), "2.5");
}

struct FirmwareCase {
  int firmware;
  bool list_enabled;
};

void PrintTo(const FirmwareCase& c, std::ostream* os) {
  *os << "firmware " << c.firmware;
}

class FrequencyControls : public SetupDlgTest, public testing::WithParamInterface<FirmwareCase> {};

TEST_P(FrequencyControls, ExactlyOneIsEnabled) {
  dlg_.KnownFirmwareVersion = GetParam().firmware;
  ASSERT_TRUE(ui_.Open());
  EXPECT_EQ(dlg_.Control(kIdSideToneFreqIf)->isEnabled(), GetParam().list_enabled);
  EXPECT_EQ(dlg_.Control(kIdSideToneFreq)->isEnabled(), !GetParam().list_enabled);
}

INSTANTIATE_TEST_SUITE_P(SetupDlg, FrequencyControls,
                         testing::Values(FirmwareCase{0, false}, FirmwareCase{1, false},
                                         FirmwareCase{2, true}, FirmwareCase{19, true},
                                         FirmwareCase{20, true}, FirmwareCase{23, true}));

TEST_F(SetupDlgTest, SideToneListHoldsTheFourteenChoices) {
  ASSERT_EQ(SideToneList()->count(), 14);
  EXPECT_EQ(SideToneList()->itemText(0), "なし");
  EXPECT_EQ(SideToneList()->itemText(7), "558");
  EXPECT_EQ(SideToneList()->itemText(13), "300");
}

TEST_F(SetupDlgTest, ChoosingNoneGivesIndexZero) {
  dlg_.KnownFirmwareVersion = 23;
  ASSERT_TRUE(ui_.Open());
  EXPECT_EQ(SideToneList()->currentIndex(), 7);
  SideToneList()->setFocus();
  QTest::keyClick(SideToneList(), Qt::Key_Home);
  EXPECT_EQ(SideToneList()->currentIndex(), 0);
  EXPECT_EQ(PressOk(), "");
  EXPECT_EQ(dlg_.SideToneFreqIfIndex, 0);
  EXPECT_EQ(dlg_.SideToneFreqIf, kNone);
}

struct SelectCase {
  const char* text;
  int selected;
  int index_after_ok;
};

void PrintTo(const SelectCase& c, std::ostream* os) {
  *os << '"' << c.text << '"';
}

class SideToneSelection : public SetupDlgTest, public testing::WithParamInterface<SelectCase> {};

TEST_P(SideToneSelection, SelectsTheFirstEntryBeginningWithTheText) {
  dlg_.SideToneFreqIf = GetParam().text;
  ASSERT_TRUE(ui_.Open());
  EXPECT_EQ(SideToneList()->currentIndex(), GetParam().selected);
  EXPECT_EQ(PressOk(), "");
  EXPECT_EQ(dlg_.SideToneFreqIfIndex, GetParam().index_after_ok);
}

INSTANTIATE_TEST_SUITE_P(SetupDlg, SideToneSelection,
                         testing::Values(SelectCase{"558", 7, 7}, SelectCase{"3906", 1, 1},
                                         SelectCase{"3", 1, 1}, SelectCase{"300", 13, 13},
                                         SelectCase{"1000", -1, 7}));

TEST_F(SetupDlgTest, NoSelectionOnOkGivesIndexSevenAndAnEmptyText) {
  dlg_.SideToneFreqIf = "1000";
  ASSERT_TRUE(ui_.Open());
  EXPECT_EQ(PressOk(), "");
  EXPECT_EQ(dlg_.SideToneFreqIf, "");
  EXPECT_EQ(dlg_.SideToneFreqIfIndex, 7);
}

TEST_F(SetupDlgTest, A257thByteCannotBeTyped) {
  ASSERT_TRUE(ui_.Open());
  ui_.Type(kIdMessage1, QString(256, u'x'));
  QTest::keyClicks(ui_.Edit(kIdMessage1), "y");
  EXPECT_EQ(Text(kIdMessage1), QString(256, u'x'));

  ui_.Type(MessageEditId(2), QString(127, u'あ') + "xx");
  EXPECT_EQ(Text(MessageEditId(2)), QString(127, u'あ') + "xx");
  DialogDriver::TypeText(ui_.Edit(MessageEditId(2)), "あ");
  EXPECT_EQ(Text(MessageEditId(2)), QString(127, u'あ') + "xx");

  ui_.Type(kIdMyCall, QString(256, u'ｱ'));
  QTest::keyClicks(ui_.Edit(kIdMyCall), "1");
  EXPECT_EQ(Text(kIdMyCall).size(), 256);

  EXPECT_EQ(PressOk(), "");
  EXPECT_EQ(dlg_.FnMsgA[0], std::string(256, 'x'));
  EXPECT_EQ(dlg_.FnMsgA[1].size(), 256u);
  EXPECT_EQ(dlg_.MyCALL, std::string(256, '\xB1'));
}

TEST_F(SetupDlgTest, CharactersWithoutACp932FormCannotBeTyped) {
  ASSERT_TRUE(ui_.Open());
  ui_.Type(kIdNumber, "5");
  DialogDriver::TypeText(ui_.Edit(kIdNumber), QString::fromUtf8("\xF0\x9F\x98\x80"));
  EXPECT_EQ(Text(kIdNumber), "5");
}

TEST_F(SetupDlgTest, OverlongFieldFromTheFileIsRefusedWithTheLengthMessage) {
  dlg_.MyCALL = std::string(300, 'C');
  ASSERT_TRUE(ui_.Open());
  EXPECT_EQ(PressOk(), "256 バイト以内で入力してください。");
  EXPECT_TRUE(QTest::qWaitForWindowActive(&dlg_));
  EXPECT_EQ(QApplication::focusWidget(), dlg_.Control(kIdMyCall));
  EXPECT_TRUE(dlg_.isVisible());
}

}  // namespace
}  // namespace vantrel::ui
