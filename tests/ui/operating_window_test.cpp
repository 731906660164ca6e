#include <QInputMethodEvent>

#include <gtest/gtest.h>

#include "keyer/morse_code.h"
#include "sim_window_rig.h"

namespace vantrel::ui::rig {
namespace {

constexpr char kPlainSettings[] = "LogTime FALSE\n";
constexpr char kNumberMessage[] = "正の整数を入力してください。";

std::uint8_t CodeOf(char character) {
  return keyer::kBuiltinCodes[keyer::FindCharacterIndex(static_cast<std::uint8_t>(character))];
}

// The character handler reads the controls before the box takes the character, so each
// unreadable read shows the number message; a readable speed out of range is not applied.
TEST(SpeedBox, EmptyShowsTheNumberMessageSevenAppliesSeventyKeepsTheEngineSpeed) {
  SimWindowRig rig(23);
  rig.Open();
  rig.TakeWrites();
  struct Step {
    char typed;
    std::vector<QString> boxes;
    const char* shown;
    unsigned speed;
    std::vector<std::string> wire;
  };
  const Step steps[] = {{0, {kNumberMessage}, "", 20, {}},
                        {'7', {kNumberMessage}, "7", 7, {"00 24 55"}},
                        {'0', {}, "70", 7, {}}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.shown);
    const auto boxes = ModalTextsDuring([&] {
      if (step.typed == 0) rig.TypeOver(kIdSpeed, "");
      if (step.typed != 0) QTest::keyClick(rig.Edit(kIdSpeed), step.typed);
    });
    EXPECT_EQ(boxes, step.boxes);
    EXPECT_EQ(rig.Edit(kIdSpeed)->text(), step.shown);
    EXPECT_EQ(rig.Engine().GetSpeed(), step.speed);
    EXPECT_EQ(rig.TakeWrites(), Reports(step.wire));
  }
  EXPECT_EQ(rig.window->WPM, 7u);
}

TEST(SpeedBox, UpDownStepsWithinFiveToFifty) {
  SimWindowRig rig(23);
  rig.Open("WPM 49\n");
  QWidget* up = rig.Control(kIdSpeedUpDown)->findChildren<QWidget*>().at(0);
  QTest::mouseClick(up, Qt::LeftButton);
  QTest::mouseClick(up, Qt::LeftButton);
  EXPECT_EQ(rig.Edit(kIdSpeed)->text(), "50");
  EXPECT_EQ(rig.Engine().GetSpeed(), 50u);
  rig.TypeOver(kIdSpeed, "6");
  rig.Key(Qt::Key_Down);
  rig.Key(Qt::Key_Down);
  EXPECT_EQ(rig.Edit(kIdSpeed)->text(), "5");
  EXPECT_EQ(rig.Engine().GetSpeed(), 5u);
}

// Ctrl+Q and Ctrl+S read the controls: with the speed box unreadable that shows the number
// message once per press, and the step applies to the speed last read. Alt+X still leaves.
TEST(SpeedKeys, WithAnUnreadableSpeedBoxShowOneMessageAndStepTheLastSpeed) {
  SimWindowRig rig(23);
  rig.Open();
  for (const auto& [key, shown, wire] :
       {std::tuple{Qt::Key_Q, "21", "00 24 1C"}, std::tuple{Qt::Key_S, "20", "00 24 1E"}}) {
    ASSERT_EQ(ModalTextsDuring([&] { rig.TypeOver(kIdSpeed, ""); }).size(), 1u);
    rig.Click(kIdInput);
    rig.TakeWrites();
    const auto texts =
        ModalTextsDuring([&] { QTest::keyClick(rig.Edit(kIdInput), key, Qt::ControlModifier); });
    EXPECT_EQ(texts, std::vector<QString>{kNumberMessage}) << shown;
    EXPECT_EQ(rig.Edit(kIdSpeed)->text(), shown);
    EXPECT_EQ(rig.TakeWrites(), Reports({wire}));
    EXPECT_EQ(rig.InputShown(), "") << shown;
  }
  rig.WindowKey(Qt::Key_X, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !rig.window->isVisible(); }, 2000));
}

TEST(Toggles, PttHoldsAndReleasesAndABadReportStopsIt) {
  SimWindowRig rig(23);
  rig.Open();
  rig.TakeWrites();
  rig.Click(kIdPtt);
  EXPECT_EQ(rig.window->PttCheck, 1);
  EXPECT_EQ(rig.TakeWrites(), Reports({"00 35 00 01"}));
  rig.Click(kIdPtt);
  EXPECT_EQ(rig.window->PttCheck, 0);
  EXPECT_EQ(rig.TakeWrites(), Reports({"00 35 00 00"}));

  rig.TypeOver(kIdReport, "600");
  const auto boxes = ModalTextsDuring([&] { rig.Click(kIdPtt); });
  EXPECT_EQ(boxes, std::vector<QString>{"0 から 599 までの整数を入力してください。"});
  EXPECT_EQ(rig.TakeWrites(), Reports({}));
  EXPECT_TRUE(QTest::qWaitForWindowActive(rig.window.get()));
  EXPECT_EQ(QApplication::focusWidget(), rig.Control(kIdReport));
}

TEST(Toggles, PaddleDecodeTakesTheFocusToTheEndOfTheLogAndBack) {
  SimWindowRig rig(23);
  rig.Open(kPlainSettings);
  rig.Click(kIdDecode);
  EXPECT_EQ(rig.window->DecodeCheck, 1);
  EXPECT_EQ(QApplication::focusWidget(), rig.Control(kIdLog));
  rig.window->LogText = "QSO\r\n";
  rig.window->RefreshControls();
  rig.FocusInput();
  rig.Log()->moveCursor(QTextCursor::Start);
  for (char c : {'R', 'K'}) {
    rig.sim.ReportDecoded(CodeOf(c));
    rig.RunMs(10);
  }
  EXPECT_EQ(rig.LogShown(), "QSO\nRK");
  EXPECT_EQ(QApplication::focusWidget(), rig.Control(kIdLog));
  rig.Click(kIdDecode);
  EXPECT_EQ(rig.window->DecodeCheck, 0);
  EXPECT_EQ(QApplication::focusWidget(), rig.Control(kIdInput));
}

// Letters follow Shift, whatever Caps Lock gives.
TEST(Typing, LettersFollowShiftAnInputMethodCommitIsCp932AndBlockModeSendsOnEnter) {
  SimWindowRig rig(23);
  rig.Open(kPlainSettings);
  rig.FocusInput();
  for (const auto& [typed, shift, shown] : {std::tuple{"cq", false, "CQ"},
                                            {"cq", true, "cq"},
                                            {"CQ", false, "CQ"},
                                            {"CQ", true, "cq"}}) {
    rig.Key(Qt::Key_Escape);
    rig.Type(typed, shift ? Qt::ShiftModifier : Qt::NoModifier);
    EXPECT_EQ(rig.InputShown(), shown);
    EXPECT_EQ(rig.Pending(), shown);
  }
  rig.Key(Qt::Key_Escape);
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8("ｱｲ"));
  QApplication::sendEvent(rig.Edit(kIdInput), &commit);
  EXPECT_EQ(rig.Pending(), "\xB1\xB2");
  EXPECT_EQ(rig.InputShown(), QString::fromUtf8("ｱｲ"));
  ASSERT_TRUE(rig.RunUntilSent());
  EXPECT_EQ(rig.LogShown(), QString::fromUtf8("ｱｲ"));

  // In block mode the line goes, with a space, on Enter.
  rig.Click(kIdBlock);
  rig.FocusInput();
  rig.Type("ur 599");
  EXPECT_EQ(rig.Pending(), "");
  rig.Key(Qt::Key_Return);
  EXPECT_EQ(rig.Pending(), "UR 599 ");
  EXPECT_EQ(rig.InputShown(), "");
  EXPECT_EQ(rig.LogShown(), QString::fromUtf8("ｱｲ") + "UR 599 \n");
}

// Escape in any control never closes the window: it stops in the input line and only moves
// the focus there from elsewhere.
TEST(Escape, StopsInTheInputLineAndOnlyMovesTheFocusElsewhere) {
  SimWindowRig rig(23);
  rig.Open(kPlainSettings);
  QTest::mouseClick(rig.Edit(kIdHisCall), Qt::LeftButton);
  rig.Type("q1abc");
  rig.Key(Qt::Key_Escape);
  EXPECT_EQ(QApplication::focusWidget(), rig.Control(kIdInput));
  EXPECT_EQ(rig.Edit(kIdHisCall)->text(), "Q1ABC");
  for (int id : {kIdReport, kIdSpeed, kIdLog, kIdPtt, kIdExit}) {
    rig.Control(id)->setFocus();
    rig.Key(Qt::Key_Escape);
    EXPECT_TRUE(rig.window->isVisible()) << id;
  }
  rig.FocusInput();
  rig.Type("abc");
  rig.Key(Qt::Key_Escape);
  EXPECT_EQ(rig.Pending(), "");
  EXPECT_EQ(rig.InputShown(), "");
  EXPECT_TRUE(rig.window->isVisible());
  EXPECT_TRUE(rig.window->InstanceHeld());
}

TEST(Banks, CtrlShowsAndSendsBankBShiftOrAltF1NothingAndAClickSendsTheCaption) {
  SimWindowRig rig(23);
  rig.Open("FnMsgA01 CQ TEST\nFnMsgA02 UR $R ~BK\nFnMsgB01 QRZ?\nFnMsgB02 100%\nLogTime FALSE\n");
  rig.FocusInput();
  QTest::keyPress(rig.Edit(kIdInput), Qt::Key_Control);
  EXPECT_EQ(rig.Button(FunctionButtonId(1))->text(), "QRZ?");
  EXPECT_EQ(rig.Button(FunctionButtonId(2))->text(), "100%");
  EXPECT_EQ(rig.Button(FunctionButtonId(3))->text(), "");
  EXPECT_TRUE(rig.Control(FunctionButtonId(2))->toolTip().contains("100%"));
  EXPECT_EQ(rig.Button(kIdF11)->text(), ">THL");
  QTest::keyRelease(rig.Edit(kIdInput), Qt::Key_Control);
  EXPECT_EQ(rig.Button(FunctionButtonId(1))->text(), "CQ TEST");
  EXPECT_TRUE(rig.Control(FunctionButtonId(1))->toolTip().contains("CQ TEST"));
  EXPECT_EQ(rig.Button(kIdF12)->text(), "<THL");

  rig.Key(Qt::Key_F1, Qt::ShiftModifier);
  rig.Key(Qt::Key_F1, Qt::AltModifier);
  EXPECT_EQ(rig.Pending(), "");
  rig.Key(Qt::Key_F1, Qt::ControlModifier);
  EXPECT_EQ(rig.Pending(), "QRZ?");
  EXPECT_EQ(rig.InputShown(), "QRZ?");
  rig.Key(Qt::Key_Escape);
  rig.Click(kIdBlock);
  rig.Click(FunctionButtonId(2));
  EXPECT_EQ(rig.Pending(), "UR 599 ~BK");
  EXPECT_EQ(rig.LogShown(), "UR 599 BK\n");
}

// A label's mnemonic ("F&1" ... "F1&0") moves the focus to its function button and never
// clicks it, wherever the focus was; no other Alt combination of a digit or letter keys the
// transmitter either (Alt+R is the setup, Alt+X the exit, Alt+P the PTT, Ctrl+Alt+Z the CQ).
TEST(Mnemonics, AltDigitFocusesItsFunctionButtonAndSendsNothing) {
  SimWindowRig rig(23);
  std::string messages = "LogTime FALSE\n";
  for (int n = 1; n <= 10; ++n)
    messages += "FnMsgA" + std::string(n < 10 ? "0" : "") + std::to_string(n) + " M\n";
  rig.Open(messages);
  for (const int from :
       {int{kIdInput}, int{kIdLog}, int{kIdHisCall}, int{kIdSpeed}, FunctionButtonId(5)}) {
    for (int n = 1; n <= 10; ++n) {
      rig.Control(from)->setFocus();
      rig.WindowKey(static_cast<Qt::Key>(Qt::Key_0 + n % 10), Qt::AltModifier);
      QTest::qWait(0);
      EXPECT_EQ(QApplication::focusWidget(), rig.Control(FunctionButtonId(n))) << from << " " << n;
    }
  }
  const Qt::KeyboardModifiers combinations[] = {
      Qt::AltModifier, Qt::AltModifier | Qt::ControlModifier, Qt::AltModifier | Qt::ShiftModifier};
  for (const auto modifiers : combinations) {
    for (char c : std::string("0123456789ABCDEFGHIJKLMNOQSTUVWY")) {
      rig.FocusInput();
      rig.WindowKey(static_cast<Qt::Key>(c), modifiers);
    }
  }
  // Qt's own label would click its button a moment later, from the event loop.
  QTest::qWait(200);
  rig.RunMs(20);
  EXPECT_EQ(rig.Pending(), "");
  EXPECT_EQ(rig.InputShown(), "");
  EXPECT_TRUE(rig.Commands(sim::CmdSendCodes).empty());
}

// A typed character ends a running repeat and is lost; the log takes Enter as a character,
// so Enter typed there ends it too.
TEST(CqRepeat, ACharacterTypedInTheInputOrEnterTypedInTheLogEndsTheRepeat) {
  SimWindowRig rig(23);
  rig.Open("FnMsgA01 E\nCqLoopInterval 0.05\nLogTime FALSE\n");
  for (const int where : {kIdInput, kIdLog}) {
    rig.FocusInput();
    rig.Key(Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(rig.window->Logic().State().CqRepeatCount, -1);
    rig.RunMs(300);
    rig.Control(where)->setFocus();
    if (where == kIdInput) rig.Type("x");
    if (where == kIdLog) rig.Key(Qt::Key_Return);
    EXPECT_EQ(rig.window->Logic().State().CqRepeatCount, 0) << where;
    EXPECT_EQ(rig.InputShown(), "");
    const std::size_t calls = rig.Commands(sim::CmdSendCodes).size();
    rig.RunMs(300);
    EXPECT_EQ(rig.Commands(sim::CmdSendCodes).size(), calls);
    EXPECT_TRUE(rig.window->isVisible());
  }
}

}  // namespace
}  // namespace vantrel::ui::rig
