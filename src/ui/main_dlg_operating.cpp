#include <QAbstractButton>

#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"

namespace vantrel::ui {

void CMainDlg::ConnectOperating() {
  connect(Button(kIdSend), &QAbstractButton::clicked, this, [this] { logic_.OnSendButton(); });
  connect(Button(kIdStop), &QAbstractButton::clicked, this, &CMainDlg::StopTransmission);
  connect(Button(kIdClear), &QAbstractButton::clicked, this, [this] { logic_.OnClearButton(); });
  for (int key = 1; key <= settings::kMessageCount; ++key) {
    connect(Button(FunctionButtonId(key)), &QAbstractButton::clicked, this,
            [this, key] { logic_.OnFunctionButton(key); });
  }
  connect(this, &CMainDlg::KeyerMessage, this,
          [this](unsigned message, qintptr w, qintptr l) { logic_.OnKeyerMessage(message, w, l); });
}

void CMainDlg::StopTransmission() {
  logic_.StopTransmission();
}

void CMainDlg::ShowBank(Bank bank) {
  logic_.ShowBank(bank);
}

void CMainDlg::StartCqTimer(unsigned milliseconds) {
  cqTimer_.Start(milliseconds);
}

void CMainDlg::KillCqTimer() {
  cqTimer_.Kill();
}

}  // namespace vantrel::ui
