#include <gtest/gtest.h>

#include "sim_window_rig.h"
#include "window_rig.h"

namespace vantrel::ui::rig {
namespace {

// A label's mnemonic ("F&1" ... "F1&0") moves the focus to its function button and never
// clicks it, wherever the focus was: a stored message goes out only on F1 ... F10 or a click.
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
      const auto key = static_cast<Qt::Key>(Qt::Key_0 + n % 10);
      QTest::keyClick(rig.window->windowHandle(), key, Qt::AltModifier);
      QTest::qWait(0);
      EXPECT_EQ(QApplication::focusWidget(), rig.Control(FunctionButtonId(n))) << from << " " << n;
    }
    // Qt's own label would click its button a moment later, from the event loop.
    QTest::qWait(200);
    rig.RunMs(20);
    EXPECT_EQ(rig.window->Logic().State().PendingText, "") << from;
    EXPECT_TRUE(rig.Commands(sim::CmdSendCodes).empty()) << from;
  }
}

// Ctrl+Q and Ctrl+S read the controls: with the speed box unreadable that shows the number
// message once per press, and the step applies to the speed last read. Alt+X still leaves.
TEST(SpeedKeys, WithAnUnreadableSpeedBoxShowOneMessageAndStepTheLastSpeed) {
  WindowRig rig(23);
  rig.Open();
  struct Step {
    Qt::Key key;
    const char* shown;
    const char* wire;
  };
  for (const Step step : {Step{Qt::Key_Q, "21", "00 24 1C"}, Step{Qt::Key_S, "20", "00 24 1E"}}) {
    ASSERT_EQ(WindowRig::MessagesDuring([&] { rig.Type(kIdSpeed, ""); }).size(), 1u);
    rig.Click(kIdInput);
    rig.TakeWrites();
    QLineEdit* input = rig.Edit(kIdInput);
    const auto texts =
        WindowRig::MessagesDuring([&] { QTest::keyClick(input, step.key, Qt::ControlModifier); });
    ASSERT_EQ(texts.size(), 1u) << step.shown;
    EXPECT_EQ(texts[0], "正の整数を入力してください。");
    EXPECT_EQ(rig.Edit(kIdSpeed)->text(), step.shown);
    EXPECT_EQ(rig.TakeWrites(), std::vector<std::vector<std::uint8_t>>{Report(step.wire)});
    EXPECT_EQ(input->text(), "") << step.shown;
  }
  QTest::keyClick(rig.window->windowHandle(), Qt::Key_X, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !rig.window->isVisible(); }, 2000));
}

}  // namespace
}  // namespace vantrel::ui::rig
