#include "settings/save_settings_report.h"
#include "ui/main_dlg.h"
#include "ui/window_rect.h"

namespace vantrel::ui {
namespace {

constexpr char kWindowSection[] = "Window";

}  // namespace

void CMainDlg::ExitWindow() {
  engine_->StopSending();
  PendingText.clear();
  setup_.WPM = static_cast<int>(WPM);
  settings::SaveSettingsReporting(setup_, this, services_.workingDir);
  InstanceMutex.reset();
  if (isMinimized() || isMaximized()) showNormal();
  SaveWindowPlacement();
  done(QDialog::Rejected);
}

// The rectangle's corner is the frame's; its size is the inside's, because the window
// manager's frame is not known before the window is mapped and must not grow the window at
// every start.
void CMainDlg::SaveWindowPlacement() {
  QPoint corner = frameGeometry().topLeft();
  WindowRect rect{corner.x(), corner.y(), corner.x() + width(), corner.y() + height()};
  profile_.WriteString(kWindowSection, "Size", FormatWindowRect(rect));
  profile_.WriteString(kWindowSection, "Top", setup_.AlwaysOnTop ? "1" : "0");
  SaveNetKeyerSettings();
}

void CMainDlg::RestoreWindowPlacement() {
  QPoint corner = frameGeometry().topLeft();
  WindowRect current{corner.x(), corner.y(), corner.x() + width(), corner.y() + height()};
  std::optional<WindowRect> saved =
      ParseWindowRect(profile_.GetString(kWindowSection, "Size", FormatWindowRect(current)));
  if (!saved) return;
  move(saved->left, saved->top);
  setFixedSize(std::max(0, saved->Width()), std::max(0, saved->Height()));
  update();
}

void CMainDlg::SetTopmost(bool on) {
  if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
  bool shown = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, on);
  if (shown) show();
}

}  // namespace vantrel::ui
