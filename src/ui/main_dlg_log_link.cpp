#include <QAbstractButton>
#include <QSocketNotifier>

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

// The logging program's answer names a window to bring forward; Linux gives a program no way
// to raise another one's window, so the logging program raises its own.
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
}

void CMainDlg::TakeLogReply(const loglink::LogReply& reply) {
  loglink::ApplyLogReply(reply, HisCall, Report);
  RefreshControls();
}

}  // namespace vantrel::ui
