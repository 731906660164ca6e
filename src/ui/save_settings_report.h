#pragma once

#include <filesystem>

#include "settings/settings.h"

class QWidget;

namespace vantrel::ui {

// Saves "Vantrel.cfg" in `dir` (the working directory when empty); when that fails, tells the
// operator "設定を保存できません。" in a modal message box over `parent`. Returns whether the
// file was saved.
bool SaveSettingsReporting(const settings::Settings& settings, QWidget* parent,
                           const std::filesystem::path& dir = {});

}  // namespace vantrel::ui
