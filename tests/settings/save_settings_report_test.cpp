#include "ui/save_settings_report.h"

#include <gtest/gtest.h>

#include "settings/dialog_driver.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"

namespace vantrel::ui {
namespace {

using namespace settings;

TEST(SaveSettingsReporting, FailureTellsTheOperatorAndKeepsTheOldFile) {
  TempDir dir;
  dir.Write("Vantrel.cfg", "old");
  std::filesystem::create_directory(dir.path() / "Vantrel.cfg.tmp");
  bool saved = true;
  QString message = DialogDriver::MessageDuring(
      [&] { saved = SaveSettingsReporting(Settings{}, nullptr, dir.path()); });
  EXPECT_FALSE(saved);
  EXPECT_EQ(message, "設定を保存できません。");
  EXPECT_EQ(dir.Read("Vantrel.cfg"), "old");
}

TEST(SaveSettingsReporting, SuccessSaysNothing) {
  TempDir dir;
  bool saved = false;
  QString message = DialogDriver::MessageDuring(
      [&] { saved = SaveSettingsReporting(Settings{}, nullptr, dir.path()); });
  EXPECT_TRUE(saved);
  EXPECT_EQ(message, "");
  EXPECT_EQ(dir.Read("Vantrel.cfg"), FormatSettings(Settings{}));
}

}  // namespace
}  // namespace vantrel::ui
