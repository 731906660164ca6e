#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

#include <limits>
#include <vector>

#include "settings/setup_dlg_exchange.h"
#include "ui/log_text.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"

namespace vantrel::ui {
namespace {

constexpr std::size_t kHisCallLimit = 256;
constexpr settings::Range<long> kWpmField{0, std::numeric_limits<int>::max()};
constexpr settings::Range<long> kReportRange{0, 599};

}  // namespace

bool CMainDlg::ReadControls() {
  settings::DialogExchange exchange(this);
  int wpm = 0;
  if (!exchange.ReadWhole(Edit(kIdSpeed), wpm, kWpmField)) return false;
  WPM = static_cast<unsigned>(wpm);
  LogText = LogFromDisplay(Log()->toPlainText());
  PttCheck = Button(kIdPtt)->isChecked() ? 1 : 0;
  if (!exchange.ReadText(Edit(kIdHisCall), HisCall, kHisCallLimit)) return false;
  SendMode = Button(kIdBlock)->isChecked() ? 1 : 0;
  if (!exchange.ReadWhole(Edit(kIdReport), Report, kReportRange)) return false;
  DecodeCheck = Button(kIdDecode)->isChecked() ? 1 : 0;
  return true;
}

// Controls changed here raise no notifications, so no handler runs during a refresh.
void CMainDlg::RefreshControls() {
  std::vector<QSignalBlocker> blockers;
  blockers.reserve(controls_.size());
  for (auto& [id, control] : controls_) blockers.emplace_back(control);
  Edit(kIdSpeed)->setText(QString::number(WPM));
  Log()->setPlainText(LogForDisplay(LogText));
  Button(kIdPtt)->setChecked(PttCheck != 0);
  settings::DialogExchange::ShowText(Edit(kIdHisCall), HisCall);
  Button(SendMode == 1 ? kIdBlock : kIdSequential)->setChecked(true);
  Edit(kIdReport)->setText(QString::number(Report));
  Button(kIdDecode)->setChecked(DecodeCheck != 0);
}

}  // namespace vantrel::ui
