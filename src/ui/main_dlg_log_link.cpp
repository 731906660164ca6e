#include <QAbstractButton>
#include <QMetaObject>

#include "loglink/log_routes.h"
#include "settings/log_link_profile.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"

namespace vantrel::ui {

void CMainDlg::ConnectLogLink() {
  connect(Button(kIdF11), &QAbstractButton::clicked, this, &CMainDlg::SendToLog);
  connect(Button(kIdF12), &QAbstractButton::clicked, this, &CMainDlg::FetchFromLog);
}

void CMainDlg::LoadLogLinkSettings() {
  setup_.LogLink = settings::LoadLogLinkSettings(profile_);
  savedLogLink_ = setup_.LogLink;
}

// The section is written only once the operator has changed it, so a profile file without
// it stays as it was.
void CMainDlg::SaveLogLinkSettings() {
  if (setup_.LogLink != savedLogLink_) settings::SaveLogLinkSettings(profile_, setup_.LogLink);
}

// A route is made afresh only when its settings have changed, so a running relay is kept.
void CMainDlg::OpenLogRoute() {
  if (logRoute_ && setup_.LogLink == logRouteSettings_) return;
  logRoute_.reset();
  logRouteSettings_ = setup_.LogLink;
  logRoute_ = loglink::MakeLogRoute(logRouteSettings_, [this](const loglink::LogReply& reply) {
    QMetaObject::invokeMethod(
        this, [this, reply] { TakeLogReply(reply); }, Qt::QueuedConnection);
  });
}

void CMainDlg::SendToLog() {
  if (!logRoute_) return;
  ShowLogOutcome(logRoute_->SendToLog([this] {
    ReadControls();
    return loglink::LogContact{HisCall, Report};
  }));
}

void CMainDlg::FetchFromLog() {
  if (logRoute_) ShowLogOutcome(logRoute_->FetchFromLog());
}

void CMainDlg::ShowLogOutcome(const loglink::LogOutcome& outcome) {
  if (outcome.messageBox) services_.showLogMessage(this, *outcome.messageBox);
}

void CMainDlg::TakeLogReply(const loglink::LogReply& reply) {
  loglink::ApplyLogReply(reply, HisCall, Report);
  RefreshControls();
}

}  // namespace vantrel::ui
