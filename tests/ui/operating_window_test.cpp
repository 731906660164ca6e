#include <QInputMethodEvent>

#include <gtest/gtest.h>

#include "settings/data_table.h"
#include "sim_window_rig.h"

namespace vantrel::ui::rig {
namespace {

// A character without a code is shown in the log and never handed to the interface; the text
// behind it goes on, stored or typed (a Backspace included), a prosign keeping its other letters.
TEST(Sending, CharactersWithoutACodeAreLoggedAndTheRestIsSent) {
  const auto rows = ReadTable(VANTREL_UI_DATA "/no_code.txt");
  std::string settings = "LogTime FALSE\nWPM 50\n";
  for (std::size_t n = 0; n < rows.size() && rows[n][2] != "-"; ++n)
    settings += "FnMsgA0" + std::to_string(n + 1) + " " + rows[n][0] + "\n";
  SimWindowRig rig(23);
  rig.Open(settings);
  for (std::size_t n = 0; n < rows.size(); ++n) {
    for (const bool stored : {true, false}) {
      if (stored && rows[n][2] == "-") continue;
      SCOPED_TRACE(rows[n][0] + (stored ? " stored" : ""));
      rig.Click(kIdClear);
      rig.FocusInput();
      rig.sim.ClearHistory();
      if (stored) rig.Key(static_cast<Qt::Key>(Qt::Key_F1 + n));
      if (!stored) rig.Type(rows[n][0]);
      ASSERT_TRUE(rig.RunUntil([&] { return rig.NothingQueued(); }, 3000));
      std::vector<std::string> sent = rig.TakeWrites();
      std::erase_if(sent, [](const std::string& bytes) { return !bytes.starts_with("00 05 "); });
      EXPECT_EQ(sent, std::vector<std::string>(rows[n].begin() + 3, rows[n].end()));
      EXPECT_EQ(rig.LogShown(), QString::fromStdString(rows[n][stored ? 2 : 1]));
      EXPECT_EQ(rig.Edit(kIdInput)->text(), "");
    }
  }
}

// The log holds everything put into it, whatever reads and refreshes of the controls come
// between: decoded characters, hand-overs, the send button, stored messages, a note typed into
// it, an input method's commit (queued as CP932). Clear empties it. The log takes Enter as a
// character, so Enter typed there ends a running CQ repeat.
TEST(Log, KeepsEverythingPutIntoIt) {
  SimWindowRig rig(23);
  rig.Open("LogTime FALSE\nWPM 50\nFnMsgA01 TU\nCqLoopInterval 0.05\n");
  rig.Click(kIdDecode);
  for (int n = 0; n < 2; ++n) {
    rig.sim.ReportDecoded(0x60);
    rig.RunMs(10);
  }
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

  rig.FocusInput();
  QInputMethodEvent commit;
  commit.setCommitString(QString::fromUtf8("ｱｲ"));
  QApplication::sendEvent(rig.Edit(kIdInput), &commit);
  EXPECT_EQ(rig.Pending(), "\xB1\xB2");
  EXPECT_EQ(rig.Edit(kIdInput)->text(), QString::fromUtf8("ｱｲ"));
  ASSERT_TRUE(rig.RunUntil([&] { return rig.Pending().empty(); }, 5000));
  EXPECT_EQ(rig.LogShown(), QString::fromUtf8("ｱｲ"));

  rig.Key(Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(rig.window->Logic().CqRepeatState().Count(), -1);
  rig.RunMs(300);
  rig.Control(kIdLog)->setFocus();
  rig.Key(Qt::Key_Return);
  EXPECT_EQ(rig.window->Logic().CqRepeatState().Count(), 0);
}

// A label's mnemonic ("F&1" ... "F1&0"), which reaches the window as the platform delivers
// shortcuts, moves the focus to its function button and never clicks it, wherever the focus was.
// The speed box's character handler reads the controls before the box takes the character, so
// each unreadable read shows the number message; a readable speed out of range is not applied.
TEST(Controls, MnemonicsOnlyFocusAndTheSpeedBoxReadsTheControlsBeforeEachCharacter) {
  SimWindowRig rig(23);
  std::string messages = "LogTime FALSE\n";
  for (int n = 1; n <= 10; ++n)
    messages += "FnMsgA" + std::string(n < 10 ? "0" : "") + std::to_string(n) + " M\n";
  rig.Open(messages);
  for (const int from : {int{kIdInput}, int{kIdLog}, FunctionButtonId(5)}) {
    for (int n = 1; n <= 10; ++n) {
      rig.Control(from)->setFocus();
      QTest::keyClick(rig.window->windowHandle(), static_cast<Qt::Key>(Qt::Key_0 + n % 10),
                      Qt::AltModifier);
      QTest::qWait(0);
      EXPECT_EQ(QApplication::focusWidget(), rig.Control(FunctionButtonId(n))) << from << " " << n;
    }
  }
  // Qt's own label would click its button a moment later, from the event loop.
  QTest::qWait(200);
  rig.RunMs(20);
  EXPECT_EQ(rig.Pending(), "");
  EXPECT_TRUE(rig.Commands(sim::CmdSendCodes).empty());

  rig.TakeWrites();
  const std::vector<QString> number = {"正の整数を入力してください。"};
  EXPECT_EQ(ModalTextsDuring([&] { rig.TypeOver(kIdSpeed, ""); }), number);
  EXPECT_TRUE(rig.TakeWrites().empty());
  EXPECT_EQ(ModalTextsDuring([&] { QTest::keyClick(rig.Edit(kIdSpeed), '7'); }), number);
  EXPECT_EQ(rig.TakeWrites(), std::vector<std::string>{"00 24 55 00 00 00 00 00 00"});
  EXPECT_TRUE(ModalTextsDuring([&] { QTest::keyClick(rig.Edit(kIdSpeed), '0'); }).empty());
  EXPECT_EQ(rig.Edit(kIdSpeed)->text(), "70");
  EXPECT_TRUE(rig.TakeWrites().empty());
}

}  // namespace
}  // namespace vantrel::ui::rig
