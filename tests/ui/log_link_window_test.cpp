#include <gtest/gtest.h>

#include "sim_window_rig.h"
#include "ui/setup_dlg_ids.h"

namespace vantrel::ui::rig {
namespace {

// With the real modal box: one box per press of F11 or F12, the focus back in the input line
// afterwards. The prefix named in the profile file does not exist, so Wine is never started.
// The program chosen in the setup dialog then is kept in the profile file.
TEST(LogLink, EachF11OrF12PressShowsOneRealBoxAndTheChosenProgramIsSaved) {
  SimWindowRig rig(23);
  const std::string prefix = (rig.dir.path() / "none").string();
  rig.dir.Write("Vantrel.ini", "[LogLink]\r\nWinePrefix=" + prefix);
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
  QTimer::singleShot(0, [&] {
    QTest::keyClick(rig.window->Setup().Control(kIdLogProgram), Qt::Key_Down);
    QTest::keyClick(rig.window->Setup().Control(kIdLogProgram), Qt::Key_Down);
    QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
  });
  rig.Click(kIdSetup);
  rig.FocusInput();
  rig.Click(kIdExit);
  const std::string ini = rig.dir.Read("Vantrel.ini");
  EXPECT_NE(
      ini.find("[LogLink]\r\nWinePrefix=" + prefix + "\r\nProgram=xlog\r\nWine=wine\r\nPort=0\r\n"),
      std::string::npos)
      << ini;
}

}  // namespace
}  // namespace vantrel::ui::rig
