#include <QInputMethodEvent>

#include <gtest/gtest.h>

#include "sim_window_rig.h"

namespace vantrel::ui::rig {
namespace {

constexpr char kNumberMessage[] = "正の整数を入力してください。";

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
    std::vector<std::string> wire;
  };
  const Step steps[] = {{0, {kNumberMessage}, "", {}},
                        {'7', {kNumberMessage}, "7", {"00 24 55"}},
                        {'0', {}, "70", {}}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.shown);
    const auto boxes = ModalTextsDuring([&] {
      if (step.typed == 0) rig.TypeOver(kIdSpeed, "");
      if (step.typed != 0) QTest::keyClick(rig.Edit(kIdSpeed), step.typed);
    });
    EXPECT_EQ(boxes, step.boxes);
    EXPECT_EQ(rig.Edit(kIdSpeed)->text(), step.shown);
    EXPECT_EQ(rig.TakeWrites(), Reports(step.wire));
  }
}

TEST(Typing, AnInputMethodCommitIsQueuedAsCp932) {
  SimWindowRig rig(23);
  rig.Open("LogTime FALSE\n");
  rig.FocusInput();
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8("ｱｲ"));
  QApplication::sendEvent(rig.Edit(kIdInput), &commit);
  EXPECT_EQ(rig.Pending(), "\xB1\xB2");
  EXPECT_EQ(rig.InputShown(), QString::fromUtf8("ｱｲ"));
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Pending().empty(); }, 5000));
  EXPECT_EQ(rig.LogShown(), QString::fromUtf8("ｱｲ"));
}

// The code bytes of each CmdSendCodes the interface received, trailing zeros left off.
std::string SentCodes(const SimWindowRig& rig) {
  std::string codes;
  for (const sim::ReceivedCommand& command : rig.Commands(sim::CmdSendCodes)) {
    std::size_t end = 9;
    while (end > 2 && command.bytes[end - 1] == 0) --end;
    codes += codes.empty() ? "" : "|";
    for (std::size_t i = 2; i < end; ++i)
      codes += QString::asprintf("%02X", command.bytes[i]).toStdString();
  }
  return codes;
}

// A character without a code is shown in the log and never handed to the interface; the text
// behind it goes on, typed or stored, a prosign keeping its other letters. A stored message is
// shown without its prosign marks, typed text as typed.
TEST(Sending, CharactersWithoutACodeAreLoggedAndTheRestIsSent) {
  struct Row {
    std::string text;
    const char* codes;
    const char* storedLog;
  };
  const Row rows[] = {{"#AB", "60|88", "#AB"},
                      {"A$XB", "60|98|88", "A$XB"},
                      {"AB&", "60|88", "AB&"},
                      {"~A#R K", "54|80|B0", "A#R K"}};
  for (const unsigned firmware : {20u, 22u, 23u}) {
    SimWindowRig rig(firmware);
    std::string settings = "LogTime FALSE\nWPM 50\n";
    for (std::size_t n = 0; n < std::size(rows); ++n)
      settings += "FnMsgA0" + std::to_string(n + 1) + " " + rows[n].text + "\n";
    rig.Open(settings);
    rig.FocusInput();
    for (std::size_t n = 0; n < std::size(rows); ++n) {
      for (const bool stored : {true, false}) {
        SCOPED_TRACE(std::to_string(firmware) + " " + rows[n].text + (stored ? " stored" : ""));
        rig.Click(kIdClear);
        rig.FocusInput();
        rig.TakeWrites();
        if (stored) rig.Key(static_cast<Qt::Key>(Qt::Key_F1 + n));
        if (!stored) rig.Type(rows[n].text);
        ASSERT_TRUE(rig.RunUntil([&] { return rig.NothingQueued(); }, 3000));
        EXPECT_EQ(SentCodes(rig), rows[n].codes);
        EXPECT_EQ(rig.LogShown(), stored ? rows[n].storedLog : rows[n].text.c_str());
        EXPECT_EQ(rig.InputShown(), "");
      }
    }
  }
}

// A typed Backspace takes back a character of the input line and keys nothing.
TEST(Sending, BackspaceIsNotHandedOver) {
  SimWindowRig rig(23);
  rig.Open("LogTime FALSE\nWPM 50\n");
  rig.FocusInput();
  rig.Type("AB");
  rig.Key(Qt::Key_Backspace);
  rig.Type("C");
  ASSERT_TRUE(rig.RunUntil([&] { return rig.NothingQueued(); }, 3000));
  EXPECT_EQ(SentCodes(rig), "60|88|A8");
}

// The log holds everything put into it, whatever reads and refreshes of the controls come
// between: decoded characters, hand-overs, the send button, stored messages, a note typed into
// it; Clear empties it.
TEST(Log, KeepsEverythingPutIntoIt) {
  SimWindowRig rig(23);
  rig.Open("LogTime FALSE\nWPM 50\nFnMsgA01 TU\n");
  rig.Click(kIdDecode);
  rig.sim.ReportDecoded(0x60);
  rig.RunMs(10);
  rig.sim.ReportDecoded(0x60);
  rig.RunMs(10);
  EXPECT_EQ(rig.LogShown(), "AA");
  rig.Key(Qt::Key_Escape);
  rig.Key(Qt::Key_K, Qt::ControlModifier);
  rig.Control(kIdHisCall)->setFocus();
  rig.Type("JA");
  rig.Key(Qt::Key_W, Qt::ControlModifier);
  EXPECT_EQ(rig.LogShown(), "AA");
  rig.FocusInput();
  rig.Type("E");
  rig.Control(kIdLog)->setFocus();
  rig.Type(" NOTE");
  rig.Control(kIdHisCall)->setFocus();
  rig.Type("JA1");
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Pending().empty(); }, 1000));
  rig.Control(kIdLog)->setFocus();
  rig.Type("!");
  EXPECT_EQ(rig.LogShown(), "AA NOTEE!");
  EXPECT_EQ(rig.Edit(kIdHisCall)->text(), "JA1");
  rig.FocusInput();
  rig.Type("T");
  rig.Key(Qt::Key_Return);
  rig.Key(Qt::Key_F1);
  ASSERT_TRUE(rig.RunUntil([&] { return rig.NothingQueued(); }, 3000));
  EXPECT_EQ(rig.LogShown(), "AA NOTEE!T\nTU");
  rig.Click(kIdClear);
  EXPECT_EQ(rig.LogShown(), "");
}

// A send that finds more than 32767 characters in the log starts a fresh one.
TEST(Log, AFullLogIsEmptiedBeforeASend) {
  SimWindowRig rig(23);
  rig.Open("LogTime FALSE\nWPM 50\nFnMsgA01 TU\n");
  auto* log = static_cast<QPlainTextEdit*>(rig.Control(kIdLog));
  for (const int length : {32767, 32768}) {
    log->setPlainText(QString(length, 'x'));
    rig.FocusInput();
    rig.Key(Qt::Key_F1);
    ASSERT_TRUE(rig.RunUntil([&] { return rig.NothingQueued(); }, 3000));
    EXPECT_EQ(rig.LogShown(), length == 32767 ? QString(length, 'x') + "TU" : "TU");
  }
}

// A label's mnemonic ("F&1" ... "F1&0") moves the focus to its function button and never
// clicks it, wherever the focus was.
TEST(Mnemonics, AltDigitFocusesItsFunctionButtonAndSendsNothing) {
  SimWindowRig rig(23);
  std::string messages = "LogTime FALSE\n";
  for (int n = 1; n <= 10; ++n)
    messages += "FnMsgA" + std::string(n < 10 ? "0" : "") + std::to_string(n) + " M\n";
  rig.Open(messages);
  for (const int from : {int{kIdInput}, int{kIdLog}, FunctionButtonId(5)}) {
    for (int n = 1; n <= 10; ++n) {
      rig.Control(from)->setFocus();
      rig.WindowKey(static_cast<Qt::Key>(Qt::Key_0 + n % 10), Qt::AltModifier);
      QTest::qWait(0);
      EXPECT_EQ(QApplication::focusWidget(), rig.Control(FunctionButtonId(n))) << from << " " << n;
    }
  }
  // Qt's own label would click its button a moment later, from the event loop.
  QTest::qWait(200);
  rig.RunMs(20);
  EXPECT_EQ(rig.Pending(), "");
  EXPECT_TRUE(rig.Commands(sim::CmdSendCodes).empty());
}

// The log takes Enter as a character, so Enter typed there ends a running repeat.
TEST(CqRepeat, EnterTypedInTheLogEndsTheRepeat) {
  SimWindowRig rig(23);
  rig.Open("FnMsgA01 E\nCqLoopInterval 0.05\nLogTime FALSE\n");
  rig.FocusInput();
  rig.Key(Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(rig.window->Logic().State().CqRepeatCount, -1);
  rig.RunMs(300);
  rig.Control(kIdLog)->setFocus();
  rig.Key(Qt::Key_Return);
  EXPECT_EQ(rig.window->Logic().State().CqRepeatCount, 0);
}

}  // namespace
}  // namespace vantrel::ui::rig
