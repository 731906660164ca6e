#include <QInputMethodEvent>

#include <gtest/gtest.h>

#include "keyer/morse_code.h"
#include "sim_window_rig.h"

namespace vantrel::ui::rig {
namespace {

constexpr char kPlainSettings[] = "LogTime FALSE\n";

std::uint8_t CodeOf(char character) {
  return keyer::kBuiltinCodes[keyer::FindCharacterIndex(static_cast<std::uint8_t>(character))];
}

TEST(Typing, LettersFollowShiftWhateverCapsLockGives) {
  SimWindowRig rig(23);
  rig.Open(kPlainSettings);
  rig.FocusInput();
  rig.Type("cq");
  EXPECT_EQ(rig.InputShown(), "CQ");
  EXPECT_EQ(rig.window->Logic().State().PendingText, "CQ");

  rig.Key(Qt::Key_Escape);
  rig.Type("cq", Qt::ShiftModifier);
  EXPECT_EQ(rig.InputShown(), "cq");
  EXPECT_EQ(rig.window->Logic().State().PendingText, "cq");

  // Caps Lock on: the letters come upper case without Shift and lower case with it.
  rig.Key(Qt::Key_Escape);
  rig.Type("CQ");
  rig.Type("cq", Qt::ShiftModifier);
  rig.Type("CQ", Qt::ShiftModifier);
  EXPECT_EQ(rig.InputShown(), "CQcqcq");
  EXPECT_EQ(rig.window->Logic().State().PendingText, "CQcqcq");
}

TEST(Typing, BlockModeSendsTheLineWithASpaceOnEnterAndLogsIt) {
  SimWindowRig rig(23);
  rig.Open(kPlainSettings);
  rig.Click(kIdBlock);
  rig.FocusInput();
  rig.Type("ur 599");
  EXPECT_EQ(rig.window->Logic().State().PendingText, "");
  rig.Key(Qt::Key_Return);
  EXPECT_EQ(rig.window->Logic().State().PendingText, "UR 599 ");
  EXPECT_EQ(rig.InputShown(), "");
  EXPECT_EQ(rig.LogShown(), "UR 599 \n");

  ASSERT_TRUE(
      rig.RunUntil([&] { return rig.window->Logic().State().PendingText.empty(); }, 10'000));
  std::vector<std::uint8_t> codes;
  for (const auto& command : rig.Commands(sim::CmdSendCodes)) codes.push_back(command.bytes[2]);
  EXPECT_EQ(codes, (std::vector<std::uint8_t>{CodeOf('U'), CodeOf('R'), CodeOf(' '), CodeOf('5'),
                                              CodeOf('9'), CodeOf('9'), CodeOf(' ')}));
}

// Four letters typed before the interface has reported once: each goes to the interface on its
// own pacing step, at least three status reports after the one before, and moves from the
// input line to the log as it goes.
TEST(Typing, SequentialHandsQueuedLettersOverOnePerPacingStep) {
  SimWindowRig rig(23);
  rig.Open(kPlainSettings);
  rig.FocusInput();
  rig.Type("test");
  EXPECT_EQ(rig.window->Logic().State().PendingText, "TEST");
  EXPECT_EQ(rig.InputShown(), "TEST");

  std::vector<std::pair<QString, QString>> steps;
  while (!rig.window->Logic().State().PendingText.empty()) {
    const std::size_t queued = rig.window->Logic().State().PendingText.size();
    ASSERT_TRUE(rig.RunUntil(
        [&] { return rig.window->Logic().State().PendingText.size() < queued; }, 1000));
    EXPECT_EQ(rig.window->Logic().State().PendingText.size(), queued - 1);
    steps.emplace_back(rig.InputShown(), rig.LogShown());
  }
  const std::vector<std::pair<QString, QString>> expected = {
      {"EST", "T"}, {"ST", "TE"}, {"T", "TES"}, {"", "TEST"}};
  EXPECT_EQ(steps, expected);

  const auto sent = rig.Commands(sim::CmdSendCodes);
  ASSERT_EQ(sent.size(), 4u);
  const char letters[] = "TEST";
  for (std::size_t i = 0; i < sent.size(); ++i) {
    EXPECT_EQ(sent[i].bytes[2], CodeOf(letters[i])) << i;
    if (i > 0) {
      EXPECT_GE(sent[i].at - sent[i - 1].at, 15'000) << i;
    }
  }
}

TEST(Typing, EnterInSequentialModeLogsTheLineAtOnceAndTheQueueGoesOn) {
  SimWindowRig rig(23);
  rig.Open(kPlainSettings);
  rig.FocusInput();
  rig.Type("abc");
  rig.Key(Qt::Key_Return);
  EXPECT_EQ(rig.LogShown(), "ABC\n");
  EXPECT_EQ(rig.InputShown(), "");
  EXPECT_EQ(rig.window->Logic().State().PendingText, "ABC");
  ASSERT_TRUE(rig.RunUntil([&] { return rig.window->Logic().State().PendingText.empty(); }, 2000));
  EXPECT_EQ(rig.Commands(sim::CmdSendCodes).size(), 3u);
}

TEST(Typing, InputMethodCommitOfHalfWidthKatakanaIsQueuedAsCp932) {
  SimWindowRig rig(23);
  rig.Open(kPlainSettings);
  rig.FocusInput();
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8("ｱｲ"));
  QApplication::sendEvent(rig.Edit(kIdInput), &commit);
  EXPECT_EQ(rig.window->Logic().State().PendingText, "\xB1\xB2");
  EXPECT_EQ(rig.InputShown(), QString::fromUtf8("ｱｲ"));
  ASSERT_TRUE(rig.RunUntil([&] { return rig.window->Logic().State().PendingText.empty(); }, 2000));
  EXPECT_EQ(rig.LogShown(), QString::fromUtf8("ｱｲ"));
  EXPECT_EQ(rig.Commands(sim::CmdSendCodes).size(), 2u);
}

TEST(Banks, CtrlHeldShowsBankBAndTheLinkButtonsKeepTheirCaptions) {
  SimWindowRig rig(23);
  rig.Open("FnMsgA01 CQ TEST\nFnMsgA02 UR $R\nFnMsgB01 QRZ?\nFnMsgB02 100%\n");
  rig.FocusInput();
  QTest::keyPress(rig.Edit(kIdInput), Qt::Key_Control);
  EXPECT_EQ(rig.Button(FunctionButtonId(1))->text(), "QRZ?");
  EXPECT_EQ(rig.Button(FunctionButtonId(2))->text(), "100%");
  EXPECT_EQ(rig.Button(FunctionButtonId(3))->text(), "");
  EXPECT_TRUE(rig.Control(FunctionButtonId(1))->toolTip().contains("QRZ?"));
  EXPECT_TRUE(rig.Control(FunctionButtonId(2))->toolTip().contains("100%"));
  EXPECT_EQ(rig.Button(kIdF11)->text(), ">THL");
  EXPECT_EQ(rig.Button(kIdF12)->text(), "<THL");

  QTest::keyRelease(rig.Edit(kIdInput), Qt::Key_Control);
  EXPECT_EQ(rig.Button(FunctionButtonId(1))->text(), "CQ TEST");
  EXPECT_TRUE(rig.Control(FunctionButtonId(1))->toolTip().contains("CQ TEST"));
  EXPECT_EQ(rig.Button(kIdF11)->text(), ">THL");
}

TEST(Banks, CtrlF1SendsBankBAndShiftOrAltF1SendsNothing) {
  SimWindowRig rig(23);
  rig.Open("FnMsgA01 CQ\nFnMsgB01 QRZ?\nLogTime FALSE\n");
  rig.FocusInput();
  rig.Key(Qt::Key_F1, Qt::ShiftModifier);
  rig.Key(Qt::Key_F1, Qt::AltModifier);
  EXPECT_EQ(rig.window->Logic().State().PendingText, "");
  EXPECT_EQ(rig.InputShown(), "");

  rig.Key(Qt::Key_F1, Qt::ControlModifier);
  EXPECT_EQ(rig.window->Logic().State().PendingText, "QRZ?");
  EXPECT_EQ(rig.InputShown(), "QRZ?");
  EXPECT_EQ(rig.Button(FunctionButtonId(1))->text(), "CQ");

  rig.Key(Qt::Key_F1);
  EXPECT_EQ(rig.window->Logic().State().PendingText, "QRZ?CQ");
}

// The function-key labels' mnemonics ("F&1" ... "F1&0") and every other Alt combination of a
// digit or letter never key the transmitter: only F1 ... F10, a click and typing do. Alt+R opens
// the setup dialog, Alt+X leaves, Alt+P is the PTT toggle and Ctrl+Alt+Z the endless CQ.
TEST(Banks, AltDigitsAndLettersSendNothing) {
  SimWindowRig rig(23);
  std::string messages = "LogTime FALSE\n";
  for (int n = 1; n <= 10; ++n)
    messages += "FnMsgA" + std::string(n < 10 ? "0" : "") + std::to_string(n) + " M" +
                std::to_string(n) + "\n";
  rig.Open(messages);
  std::vector<Qt::Key> keys;
  for (int k = Qt::Key_0; k <= Qt::Key_9; ++k) keys.push_back(static_cast<Qt::Key>(k));
  for (char c = 'A'; c <= 'Z'; ++c) {
    if (std::string("RXPZ").find(c) == std::string::npos) keys.push_back(static_cast<Qt::Key>(c));
  }
  const Qt::KeyboardModifiers combinations[] = {
      Qt::AltModifier, Qt::AltModifier | Qt::ControlModifier, Qt::AltModifier | Qt::ShiftModifier};
  for (const auto modifiers : combinations) {
    for (const Qt::Key key : keys) {
      rig.FocusInput();
      // Through the window, as the platform delivers keys, so that shortcuts see them.
      QTest::keyClick(rig.window->windowHandle(), key, modifiers);
    }
    // A label's mnemonic would click its button a moment later, from the event loop.
    QTest::qWait(200);
    rig.RunMs(20);
    EXPECT_EQ(rig.window->Logic().State().PendingText, "") << modifiers;
    EXPECT_TRUE(rig.Commands(sim::CmdSendCodes).empty()) << modifiers;
    EXPECT_EQ(rig.InputShown(), "") << modifiers;
  }
}

TEST(Banks, FunctionButtonClickSendsItsCaption) {
  SimWindowRig rig(23);
  rig.Open("FnMsgA02 UR $R ~BK\nLogTime FALSE\n");
  rig.Click(kIdBlock);
  rig.Click(FunctionButtonId(2));
  EXPECT_EQ(rig.window->Logic().State().PendingText, "UR 599 ~BK");
  EXPECT_EQ(rig.LogShown(), "UR 599 BK\n");
}

// The first call and twenty repeats, each after the pause that follows the call before.
TEST(CqRepeat, CtrlZCallsTwentyOneTimes) {
  SimWindowRig rig(23);
  rig.Open("FnMsgA01 E\nCqLoopInterval 0.05\nWPM 50\nLogTime FALSE\n");
  rig.FocusInput();
  rig.Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(rig.window->Logic().State().CqRepeatCount, 20);
  ASSERT_TRUE(rig.RunUntil(
      [&] {
        return rig.window->Logic().State().CqRepeatCount == 0 &&
               !rig.window->Logic().State().CqTimer &&
               rig.window->Logic().State().PendingText.empty();
      },
      20'000));
  rig.RunMs(500);
  const auto calls = rig.Commands(sim::CmdSendCodes);
  EXPECT_EQ(calls.size(), 21u);
  for (std::size_t i = 1; i < calls.size(); ++i) EXPECT_GE(calls[i].at - calls[i - 1].at, 50'000);
}

TEST(CqRepeat, ATypedCharacterEndsTheRepeatAndIsLost) {
  SimWindowRig rig(23);
  rig.Open("FnMsgA01 E\nCqLoopInterval 0.05\nLogTime FALSE\n");
  rig.FocusInput();
  rig.Key(Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(rig.window->Logic().State().CqRepeatCount, -1);
  rig.RunMs(300);
  rig.Type("x");
  EXPECT_EQ(rig.window->Logic().State().CqRepeatCount, 0);
  EXPECT_EQ(rig.InputShown(), "");
  const std::size_t calls = rig.Commands(sim::CmdSendCodes).size();
  rig.RunMs(300);
  EXPECT_EQ(rig.Commands(sim::CmdSendCodes).size(), calls);
}

// The log takes Enter as a character: typed there, it ends a running repeat like any other.
TEST(CqRepeat, EnterTypedInTheLogEndsTheRepeat) {
  SimWindowRig rig(23);
  rig.Open("FnMsgA01 E\nCqLoopInterval 0.05\nLogTime FALSE\n");
  rig.FocusInput();
  rig.Key(Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
  rig.RunMs(300);
  rig.Control(kIdLog)->setFocus();
  rig.Key(Qt::Key_Return);
  EXPECT_EQ(rig.window->Logic().State().CqRepeatCount, 0);
  EXPECT_TRUE(rig.window->isVisible());
}

TEST(Escape, StopsInTheInputLineAndOnlyMovesTheFocusElsewhere) {
  SimWindowRig rig(23);
  rig.Open(kPlainSettings);
  QTest::mouseClick(rig.Edit(kIdHisCall), Qt::LeftButton);
  rig.Type("q1abc");
  rig.Key(Qt::Key_Escape);
  EXPECT_EQ(QApplication::focusWidget(), rig.Control(kIdInput));
  EXPECT_EQ(rig.Edit(kIdHisCall)->text(), "Q1ABC");
  EXPECT_TRUE(rig.window->isVisible());

  rig.Type("abc");
  rig.Key(Qt::Key_Escape);
  EXPECT_EQ(rig.window->Logic().State().PendingText, "");
  EXPECT_EQ(rig.InputShown(), "");
  EXPECT_TRUE(rig.window->isVisible());
}

TEST(PaddleDecode, DecodedCharactersGoToTheEndOfTheLogWithTheFocus) {
  SimWindowRig rig(23);
  rig.Open(kPlainSettings);
  rig.Click(kIdDecode);
  rig.window->LogText = "QSO\r\n";
  rig.window->RefreshControls();
  rig.FocusInput();
  rig.Log()->moveCursor(QTextCursor::Start);

  rig.sim.ReportDecoded(CodeOf('R'));
  rig.RunMs(10);
  rig.sim.ReportDecoded(CodeOf('K'));
  rig.RunMs(10);
  EXPECT_EQ(rig.LogShown(), "QSO\nRK");
  EXPECT_EQ(QApplication::focusWidget(), rig.Control(kIdLog));
}

}  // namespace
}  // namespace vantrel::ui::rig
