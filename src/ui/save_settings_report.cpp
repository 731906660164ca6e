#include "ui/save_settings_report.h"

#include <QMessageBox>

#include "settings/settings_file.h"
#include "ui/setup_dlg_texts.h"

namespace vantrel::ui {

bool SaveSettingsReporting(const settings::Settings& settings, QWidget* parent,
                           const std::filesystem::path& dir) {
  if (settings::SaveSettings(settings, dir)) return true;
  QMessageBox::warning(parent, kMessageTitle, kSaveFailedText);
  return false;
}

}  // namespace vantrel::ui
