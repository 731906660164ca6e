#include <QAbstractButton>

#include "settings/settings_file.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"
#include "ui/up_down_control.h"

namespace vantrel::ui {
namespace {

constexpr unsigned kDecodeFirmware = 3;

}  // namespace

// Only the start-up reads the settings file: a later apply, made to reconnect a returning
// interface, must not undo what the operator changed since, nor the live speed.
void CMainDlg::ApplySettings() {
  bool first = !SettingsApplied;
  SettingsApplied = true;
  SpeedUpDown()->SetRange(settings::kWpmRange.min, settings::kWpmRange.max);
  if (first) {
    settings::LoadSettings(setup_, services_.workingDir);
    WPM = static_cast<unsigned>(setup_.WPM);
  }
  RefreshControls();
  CqRepeatCount = 0;
  engine_->SetTargetWindow(&statusCoalescer_);
  engine_->SetSpeed(WPM);
  ApplyKeyerSettings();
  if (engine_->FirmwareVersion() >= kDecodeFirmware) Control(kIdDecode)->setEnabled(true);
  setup_.KnownFirmwareVersion = static_cast<int>(engine_->FirmwareVersion());
}

void CMainDlg::ApplyKeyerSettings() {
  keyer::CCwDevice& engine = *engine_;
  engine.SetDotWeight(setup_.WeightDot);
  engine.SetDashWeight(setup_.WeightDash);
  engine.SetPttDelayBefore(static_cast<unsigned>(setup_.PttdBefore));
  engine.SetPttDelayAfter(static_cast<unsigned>(setup_.PttdAfter));
  engine.SetCharInterval(setup_.IntervalChar);
  engine.SetWordInterval(setup_.IntervalWord);
  engine.SetPttControl(setup_.PTTCtrl);
  engine.SetPaddleReverse(setup_.PaddleRvs);
  engine.SetPcSidetone(setup_.SideTone);
  engine.SetPcSidetoneFreq(static_cast<unsigned>(setup_.SideToneFreq));
  engine.SetSidetoneIndex(static_cast<unsigned>(setup_.SideToneFreqIfIndex));
}

void CMainDlg::RunSetup() {
  if (setup_.exec() != QDialog::Accepted) return;
  ShowBank(Bank::A);
  ApplyKeyerSettings();
  SetTopmost(setup_.AlwaysOnTop);
  ListenForNetKeyer();
}

}  // namespace vantrel::ui
