#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"

namespace vantrel::ui {

void CMainDlg::StopTransmission() {
  ReadControls();
  PttCheck = 0;
  RefreshControls();
  engine_->SetPttHold(false);
  engine_->StopSending();
  PendingText.clear();
  Edit(kIdInput)->setFocus(Qt::OtherFocusReason);
  if (SendMode == 0) Edit(kIdInput)->clear();
  Log()->selectAll();
  Log()->ensureCursorVisible();
  ClearBeforeNext = false;
  PaceCountdown = 0;
}

}  // namespace vantrel::ui
