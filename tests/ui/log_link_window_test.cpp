#include <gtest/gtest.h>

#include <sstream>

#include "loglink/link_directory.h"
#include "loglink/link_test_support.h"
#include "loglink/log_stub.h"
#include "platform/qt/foreign_window_raiser.h"
#include "sim_window_rig.h"
#include "window_rig.h"

namespace vantrel::ui::rig {
namespace {

using loglink::testing::ServingThread;

bool IsBox(const loglink::LogMessageBox& box, const loglink::LogMessageBox& expected) {
  return box.text == expected.text && box.caption == "ハムログコントロール" &&
         box.icon == expected.icon;
}

// A stand-in logging program serving on a thread of its own while the window waits for it.
struct LoggingProgram {
  explicit LoggingProgram(loglink::LogStubOptions options = {})
      : stub(loglink::LogStub::Listen(*loglink::LogProgramAddress(), options, out)),
        serving(stub->Fd(), [this] { stub->HandleReadable(); }) {}

  std::ostringstream out;
  std::unique_ptr<loglink::LogStub> stub;
  ServingThread serving;
};

TEST(LogLink, WithoutTheLoggingProgramF11AndF12SayItIsNotFound) {
  SimWindowRig rig(23);
  rig.Open();
  rig.FocusInput();
  rig.Key(Qt::Key_F11);
  rig.Key(Qt::Key_F12);
  rig.Click(kIdF11);
  rig.Click(kIdF12);
  ASSERT_EQ(rig.messages.size(), 4u);
  for (const auto& box : rig.messages) EXPECT_TRUE(IsBox(box, loglink::kLogProgramNotFound));
  EXPECT_EQ(rig.window->Logic().State().PendingText, "");
}

// With the real modal box: one box per press of F11 or F12, the focus back in the input line
// afterwards, and Alt+X still leaves.
TEST(LogLink, EachF11OrF12PressShowsOneRealBox) {
  WindowRig rig(23);
  rig.Open();
  QLineEdit* input = rig.Edit(kIdInput);
  for (const Qt::Key key : {Qt::Key_F11, Qt::Key_F12}) {
    input->setFocus();
    const auto texts = WindowRig::MessagesDuring([&] { QTest::keyClick(input, key); });
    ASSERT_EQ(texts.size(), 1u) << key;
    EXPECT_EQ(texts[0],
              QString::fromUtf8(loglink::kLogProgramNotFound.text.data(),
                                static_cast<qsizetype>(loglink::kLogProgramNotFound.text.size())));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == input; }, 2000)) << key;
  }
  QTest::keyClick(rig.window->windowHandle(), Qt::Key_X, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !rig.window->isVisible(); }, 2000));
}

TEST(LogLink, F11HandsTheCallsignAndReportOver) {
  SimWindowRig rig(23);
  rig.Open();
  QTest::mouseClick(rig.Edit(kIdHisCall), Qt::LeftButton);
  rig.Type("q1abc");
  {
    LoggingProgram program;
    rig.Key(Qt::Key_F11);
    EXPECT_TRUE(rig.messages.empty());
    EXPECT_NE(program.out.str().find("record 0x3000F, 17 bytes"), std::string::npos)
        << program.out.str();
  }
}

TEST(LogLink, F12FillsTheCallsignAndReportFromTheReply) {
  SimWindowRig rig(23);
  rig.Open();
  rig.FocusInput();
  {
    LoggingProgram program({.reply = "Q1ABC x\ny 579"});
    rig.Key(Qt::Key_F12);
  }
  EXPECT_TRUE(rig.messages.empty());
  EXPECT_EQ(rig.Edit(kIdHisCall)->text(), "Q1ABC");
  EXPECT_EQ(rig.Edit(kIdReport)->text(), "579");
}

TEST(LogLink, ARefusalSaysTheCommandIsInvalid) {
  SimWindowRig rig(23);
  rig.Open();
  {
    LoggingProgram program({.result = 0});
    rig.Click(kIdF12);
  }
  ASSERT_EQ(rig.messages.size(), 1u);
  EXPECT_TRUE(IsBox(rig.messages[0], loglink::kInvalidCommand));
}

}  // namespace
}  // namespace vantrel::ui::rig

namespace vantrel::platform {
namespace {

// Only an X11 session can raise another program's window; elsewhere nothing is asked.
TEST(ForeignWindow, NothingIsRaisedWithoutX11OrWithoutAWindow) {
  EXPECT_FALSE(RaiseForeignWindow(0));
  EXPECT_FALSE(RaiseForeignWindow(0x1234567));
  EXPECT_FALSE(RaiseForeignWindow(std::uint64_t{1} << 40));
}

}  // namespace
}  // namespace vantrel::platform
