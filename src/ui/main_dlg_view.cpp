#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextDocument>

#include <limits>
#include <vector>

#include "settings/settings_file.h"
#include "ui/cp932_text.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"
#include "ui/setup_dlg_exchange.h"
#include "ui/up_down_control.h"

namespace vantrel::ui {
namespace {

constexpr settings::Range<long> kWpmField{0, std::numeric_limits<int>::max()};
constexpr settings::Range<long> kReportRange{0, 599};

constexpr std::pair<operating::Control, int> kControlIds[] = {
    {operating::Control::InputLine, kIdInput},  {operating::Control::CallsignBox, kIdHisCall},
    {operating::Control::ReportBox, kIdReport}, {operating::Control::SpeedBox, kIdSpeed},
    {operating::Control::Log, kIdLog},
};

// The log keeps "\r\n" line ends; its control shows "\n".
QString LogForDisplay(const std::string& logText) {
  return FromCp932(logText).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::string LogFromDisplay(QString shown) {
  return ToCp932(shown.replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
}

// A tooltip shows the text exactly as it stands, even when it looks like markup; empty text
// gives none.
QString ToolTipText(const QString& text) {
  if (text.isEmpty()) return text;
  return Qt::convertFromPlainText(text, Qt::WhiteSpaceNoWrap);
}

}  // namespace

QWidget* CMainDlg::Control(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

QLineEdit* CMainDlg::Edit(int id) const {
  return static_cast<QLineEdit*>(Control(id));
}

QAbstractButton* CMainDlg::Button(int id) const {
  return static_cast<QAbstractButton*>(Control(id));
}

QPlainTextEdit* CMainDlg::Log() const {
  return static_cast<QPlainTextEdit*>(Control(kIdLog));
}

UpDownControl* CMainDlg::SpeedUpDown() const {
  return static_cast<UpDownControl*>(Control(kIdSpeedUpDown));
}

QWidget* CMainDlg::OperatingControl(operating::Control control) const {
  for (const auto& [kind, id] : kControlIds) {
    if (kind == control) return Control(id);
  }
  return nullptr;
}

QAbstractButton* CMainDlg::KeyButton(int key) const {
  if (key == operating::kSendToLogKey) return Button(kIdF11);
  if (key == operating::kFetchFromLogKey) return Button(kIdF12);
  return Button(FunctionButtonId(key));
}

bool CMainDlg::ReadControls() {
  DialogExchange exchange(this);
  int wpm = 0;
  if (!exchange.ReadWhole(Edit(kIdSpeed), wpm, kWpmField)) return false;
  WPM = static_cast<unsigned>(wpm);
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
  Button(kIdPtt)->setChecked(PttCheck != 0);
  DialogExchange::ShowText(Edit(kIdHisCall), HisCall);
  Button(SendMode == 1 ? kIdBlock : kIdSequential)->setChecked(true);
  Edit(kIdReport)->setText(QString::number(Report));
  Button(kIdDecode)->setChecked(DecodeCheck != 0);
}

std::string CMainDlg::InputLineText() const {
  return ToCp932(Edit(kIdInput)->text());
}

void CMainDlg::SetInputLineText(const std::string& text) {
  Edit(kIdInput)->setText(FromCp932(text));
  Edit(kIdInput)->end(false);
}

void CMainDlg::EmptyControl(operating::Control control) {
  if (control == operating::Control::Log) return Log()->clear();
  if (auto* edit = qobject_cast<QLineEdit*>(OperatingControl(control))) edit->clear();
}

// The window's own focus child, so that the answer holds while another window is active.
operating::Control CMainDlg::FocusedControl() const {
  QWidget* focus = focusWidget();
  for (const auto& [kind, id] : kControlIds) {
    if (Control(id) == focus) return kind;
  }
  return operating::Control::Other;
}

void CMainDlg::SetFocus(operating::Control control) {
  if (QWidget* widget = OperatingControl(control)) widget->setFocus(Qt::OtherFocusReason);
}

// No selection is left behind: the next key typed into the log, or a Backspace the paddle
// sends there, would replace all of it.
void CMainDlg::ShowLogEnd() {
  Log()->moveCursor(QTextCursor::End);
  Log()->ensureCursorVisible();
}

void CMainDlg::InsertAtLogEnd(const std::string& text) {
  ShowLogEnd();
  Log()->insertPlainText(LogForDisplay(text));
}

std::string CMainDlg::LogText() const {
  return LogFromDisplay(Log()->toPlainText());
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

bool CMainDlg::SetSpinPosition(unsigned wpm) {
  const QString shown = Edit(kIdSpeed)->text();
  const QSignalBlocker blocker(Edit(kIdSpeed));
  SpeedUpDown()->SetPosition(static_cast<int>(wpm));
  return Edit(kIdSpeed)->text() != shown;
}

void CMainDlg::StartCqTimer(unsigned milliseconds) {
  cqTimer_.Start(milliseconds);
}

void CMainDlg::KillCqTimer() {
  cqTimer_.Kill();
}

void CMainDlg::LoadSettingsFile() {
  settings::LoadSettings(setup_, services_.workingDir);
}

void CMainDlg::EnableDecodeCheck() {
  Control(kIdDecode)->setEnabled(true);
}

}  // namespace vantrel::ui
