#include <gtest/gtest.h>

#include "sim_window_rig.h"

namespace vantrel::ui::rig {
namespace {

// With the real modal box: one box per press of F11 or F12, the focus back in the input line
// afterwards. The prefix named in the profile file does not exist, so Wine is never started.
TEST(LogLink, EachF11OrF12PressShowsOneRealBox) {
  SimWindowRig rig(23);
  rig.dir.Write("Vantrel.ini", "[LogLink]\r\nWinePrefix=" + (rig.dir.path() / "none").string());
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

}  // namespace
}  // namespace vantrel::ui::rig
