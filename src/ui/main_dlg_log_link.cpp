#include <QAbstractButton>
#include <QSocketNotifier>

#include "platform/qt/foreign_window_raiser.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"

namespace vantrel::ui {

void CMainDlg::ConnectLogLink() {
  connect(Button(kIdF11), &QAbstractButton::clicked, this, &CMainDlg::SendToLog);
  connect(Button(kIdF12), &QAbstractButton::clicked, this, &CMainDlg::FetchFromLog);
  if (logLink_.Fd() < 0) return;
  replyNotifier_ = new QSocketNotifier(logLink_.Fd(), QSocketNotifier::Read, this);
  connect(replyNotifier_, &QSocketNotifier::activated, this, [this] { logLink_.HandleReadable(); });
}

void CMainDlg::SendToLog() {
  ShowLogOutcome(logLink_.SendToLog([this] {
    ReadControls();
    return loglink::LogContact{HisCall, Report};
  }));
}

void CMainDlg::FetchFromLog() {
  ShowLogOutcome(logLink_.FetchFromLog());
}

void CMainDlg::ShowLogOutcome(const loglink::LogOutcome& outcome) {
  if (outcome.messageBox) services_.showLogMessage(this, *outcome.messageBox);
  if (outcome.foregroundWindow != 0) platform::RaiseForeignWindow(outcome.foregroundWindow);
}

void CMainDlg::TakeLogReply(const loglink::LogReply& reply) {
  loglink::ApplyLogReply(reply, HisCall, Report);
  RefreshControls();
}

}  // namespace vantrel::ui
