#include <gtest/gtest.h>

#include "sim_window_rig.h"
#include "ui/setup_dlg_ids.h"

namespace vantrel::ui::rig {
namespace {

// With the real modal box: one box per press of F11 or F12, the focus back in the input line
// afterwards. The prefix named in the profile file does not exist, so Wine is never started.
// The program and its fields set in the setup dialog then are kept in the profile file.
TEST(LogLink, EachF11OrF12PressShowsOneRealBoxAndTheSetupDialogsChoiceIsSaved) {
  SimWindowRig rig(23);
  const std::string prefix = (rig.dir.path() / "none").string();
  rig.dir.Write("Vantrel.ini", "[LogLink]\r\nWinePrefix=" + prefix);
  rig.realMessageBoxes = true;
  rig.Open();
  QLineEdit* input = rig.Edit(kIdInput);
  const QString notFound = QString::fromStdString(std::string(loglink::kLogProgramNotFound.text));
  for (const Qt::Key key : {Qt::Key_F11, Qt::Key_F12}) {
    input->setFocus();
    const auto texts = ModalTextsDuring([&] { rig.Key(key); });
    EXPECT_EQ(texts, std::vector<QString>{notFound});
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == input; }, 2000)) << key;
  }
  // The link group enables the chosen program's fields: the Wine ones are Turbo HAMLOG's, the
  // port the Linux loggers'.
  DialogDriver dialog(rig.window->Setup());
  const auto enabled = [&](int id) { return rig.window->Setup().Control(id)->isEnabled(); };
  QTimer::singleShot(0, [&] {
    EXPECT_TRUE(enabled(kIdWineCommand) && enabled(kIdWinePrefix) && !enabled(kIdLogPort));
    dialog.Type(kIdWinePrefix, "/home/q/.wine-hamlog");
    QTest::keyClick(rig.window->Setup().Control(kIdLogProgram), Qt::Key_Down);
    EXPECT_TRUE(!enabled(kIdWineCommand) && !enabled(kIdWinePrefix) && enabled(kIdLogPort));
    dialog.Type(kIdLogPort, "0");
    EXPECT_EQ(ModalTextsDuring([&] { dialog.Click(kIdOk); }),
              std::vector<QString>{"1 から 65535 までの整数を入力してください。"});
    dialog.Type(kIdLogPort, "7400");
    dialog.Click(kIdOk);
  });
  rig.Click(kIdSetup);
  rig.FocusInput();
  rig.Click(kIdExit);
  const std::string ini = rig.dir.Read("Vantrel.ini");
  EXPECT_NE(
      ini.find("[LogLink]\r\nWinePrefix=/home/q/.wine-hamlog\r\nProgram=fldigi\r\nWine=wine\r\n"
               "Port=7400\r\n"),
      std::string::npos)
      << ini;
}

}  // namespace
}  // namespace vantrel::ui::rig
