#include <gtest/gtest.h>

#include "sim_window_rig.h"

namespace vantrel::ui::rig {
namespace {

bool IsNotFound(const loglink::LogMessageBox& box) {
  return box.text == "Turbo HAMLOGが見つかりません" && box.caption == "ハムログコントロール" &&
         box.icon == loglink::MessageIcon::kExclamation;
}

TEST(LogLink, WithoutTheLoggingProgramF11AndF12SayItIsNotFound) {
  SimWindowRig rig(23);
  rig.Open();
  rig.FocusInput();
  rig.Key(Qt::Key_F11);
  rig.Key(Qt::Key_F12);
  rig.Click(kIdF11);
  rig.Click(kIdF12);
  ASSERT_EQ(rig.messages.size(), 4u);
  for (const auto& box : rig.messages) EXPECT_TRUE(IsNotFound(box));
  EXPECT_EQ(rig.window->PendingText, "");
}

}  // namespace
}  // namespace vantrel::ui::rig
