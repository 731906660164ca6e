#include <QAbstractButton>

#include "ui/cp932_text.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"
#include "ui/main_dlg_texts.h"
#include "ui/tool_tip_text.h"

namespace vantrel::ui {

void CMainDlg::RegisterToolTips() {
  for (int n = 1; n <= settings::kMessageCount; ++n) {
    Control(FunctionButtonId(n))->setToolTip(ToolTipText(FromCp932(setup_.FnMsgA[n - 1])));
  }
  Control(kIdHisCall)->setToolTip(kCallSignTip);
  Control(kIdReport)->setToolTip(kReportTip);
}

QAbstractButton* CMainDlg::KeyButton(int key) const {
  if (key == operating::kSendToLogKey) return Button(kIdF11);
  if (key == operating::kFetchFromLogKey) return Button(kIdF12);
  return Button(FunctionButtonId(key));
}

std::string CMainDlg::ButtonCaption(int key) const {
  return ToCp932(KeyButton(key)->text());
}

void CMainDlg::SetButtonCaption(int key, const std::string& text) {
  KeyButton(key)->setText(FromCp932(text));
}

void CMainDlg::SetButtonToolTip(int key, const std::string& text) {
  KeyButton(key)->setToolTip(ToolTipText(FromCp932(text)));
}

}  // namespace vantrel::ui
