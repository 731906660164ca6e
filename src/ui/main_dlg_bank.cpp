#include <QAbstractButton>

#include "platform/text_encoding.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"
#include "ui/main_dlg_texts.h"
#include "ui/tool_tip_text.h"

namespace vantrel::ui {
namespace {

QString Shown(const std::string& cp932) {
  return QString::fromStdString(platform::Cp932ToUtf8(cp932));
}

}  // namespace

void CMainDlg::RegisterToolTips() {
  for (int n = 1; n <= settings::kMessageCount; ++n) {
    Control(FunctionButtonId(n))->setToolTip(ToolTipText(Shown(setup_.FnMsgA[n - 1])));
  }
  Control(kIdHisCall)->setToolTip(kCallSignTip);
  Control(kIdReport)->setToolTip(kReportTip);
}

void CMainDlg::ShowBank(Bank bank) {
  const settings::MessageBank& messages = bank == Bank::A ? setup_.FnMsgA : setup_.FnMsgB;
  for (int n = 1; n <= settings::kMessageCount; ++n) {
    Button(FunctionButtonId(n))->setText(Shown(messages[n - 1]));
  }
  if (bank == Bank::A) {
    Button(kIdF11)->setText(kF11Caption);
    Button(kIdF12)->setText(kF12Caption);
  }
  for (int n = 1; n <= settings::kMessageCount; ++n) {
    Control(FunctionButtonId(n))->setToolTip(ToolTipText(Shown(messages[n - 1])));
  }
}

}  // namespace vantrel::ui
