#include "settings/save_settings_report.h"

#include <QMessageBox>

#include "settings/settings_file.h"
#include "settings/setup_dlg_texts.h"

namespace vantrel::settings {

bool SaveSettingsReporting(const Settings& settings, QWidget* parent,
                           const std::filesystem::path& dir) {
  if (SaveSettings(settings, dir)) return true;
  QMessageBox::warning(parent, kMessageTitle, kSaveFailedText);
  return false;
}

}  // namespace vantrel::settings
