#include <QAbstractButton>

#include "settings/settings.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"

namespace vantrel::ui {

void CMainDlg::OnPttToggled() {
  if (!ReadControls()) return;
  engine_->SetPttHold(PttCheck == 1);
}

void CMainDlg::SetPttToggle(bool on) {
  ReadControls();
  PttCheck = on ? 1 : 0;
  RefreshControls();
  engine_->SetPttHold(on);
}

void CMainDlg::OnDecodeToggled() {
  if (!ReadControls()) return;
  engine_->SetDecodeEnabled(DecodeCheck == 1);
  Control(DecodeCheck == 1 ? kIdLog : kIdInput)->setFocus(Qt::OtherFocusReason);
}

// A speed outside the keyer's range stays in the box until the next refresh, but the field
// goes back to the speed the keyer keeps.
void CMainDlg::OnSpeedChanged() {
  if (!SettingsApplied || !ReadControls()) return;
  if (!settings::kWpmRange.Contains(WPM)) {
    WPM = engine_->GetSpeed();
    return;
  }
  engine_->SetSpeed(WPM);
}

}  // namespace vantrel::ui
