#include <gtest/gtest.h>

#include <sstream>

#include "loglink/link_directory.h"
#include "loglink/link_test_support.h"
#include "loglink/log_stub.h"
#include "sim_window_rig.h"

namespace vantrel::ui::rig {
namespace {

// A stand-in logging program serving on a thread of its own while the window waits for it.
struct LoggingProgram {
  explicit LoggingProgram(loglink::LogStubOptions options = {})
      : stub(loglink::LogStub::Listen(*loglink::LogProgramAddress(), options, out)),
        serving(stub->Fd(), [this] { stub->HandleReadable(); }) {}

  std::ostringstream out;
  std::unique_ptr<loglink::LogStub> stub;
  loglink::testing::ServingThread serving;
};

// With the real modal box: one box per press of F11 or F12, the focus back in the input line
// afterwards.
TEST(LogLink, EachF11OrF12PressShowsOneRealBox) {
  SimWindowRig rig(23);
  rig.realMessageBoxes = true;
  rig.Open();
  QLineEdit* input = rig.Edit(kIdInput);
  const auto& notFound = loglink::kLogProgramNotFound.text;
  for (const Qt::Key key : {Qt::Key_F11, Qt::Key_F12}) {
    input->setFocus();
    const auto texts = ModalTextsDuring([&] { rig.Key(key); });
    EXPECT_EQ(texts, std::vector<QString>{QString::fromUtf8(
                         notFound.data(), static_cast<qsizetype>(notFound.size()))});
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == input; }, 2000)) << key;
  }
}

TEST(LogLink, F11HandsTheCallsignOverF12FillsItFromTheReplyARefusalIsInvalid) {
  SimWindowRig rig(23);
  rig.Open();
  QTest::mouseClick(rig.Edit(kIdHisCall), Qt::LeftButton);
  rig.Type("q1abc");
  {
    LoggingProgram program;
    rig.Key(Qt::Key_F11);
    EXPECT_NE(program.out.str().find("record 0x3000F, 17 bytes"), std::string::npos)
        << program.out.str();
  }
  rig.FocusInput();
  {
    LoggingProgram program({.reply = "Q2XYZ x\ny 579"});
    rig.Key(Qt::Key_F12);
  }
  EXPECT_TRUE(rig.messages.empty());
  EXPECT_EQ(rig.Edit(kIdHisCall)->text(), "Q2XYZ");
  EXPECT_EQ(rig.Edit(kIdReport)->text(), "579");
  {
    LoggingProgram program({.result = 0});
    rig.Click(kIdF12);
  }
  ASSERT_EQ(rig.messages.size(), 1u);
  EXPECT_EQ(rig.messages[0].text, loglink::kInvalidCommand.text);
  EXPECT_EQ(rig.messages[0].caption, "ハムログコントロール");
  EXPECT_EQ(rig.messages[0].icon, loglink::kInvalidCommand.icon);
}

}  // namespace
}  // namespace vantrel::ui::rig
