#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui/cp932_text.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"
#include "ui/up_down_control.h"

namespace vantrel::ui {
namespace {

constexpr std::pair<operating::Control, int> kControlIds[] = {
    {operating::Control::InputLine, kIdInput},  {operating::Control::CallsignBox, kIdHisCall},
    {operating::Control::ReportBox, kIdReport}, {operating::Control::SpeedBox, kIdSpeed},
    {operating::Control::Log, kIdLog},
};

}  // namespace

QWidget* CMainDlg::OperatingControl(operating::Control control) const {
  for (const auto& [kind, id] : kControlIds) {
    if (kind == control) return Control(id);
  }
  return nullptr;
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

void CMainDlg::ShowLogEnd() {
  Log()->selectAll();
  Log()->ensureCursorVisible();
}

void CMainDlg::InsertAtLogEnd(const std::string& text) {
  Log()->moveCursor(QTextCursor::End);
  Log()->ensureCursorVisible();
  Log()->insertPlainText(FromCp932(text));
}

void CMainDlg::SetSpinPosition(unsigned wpm) {
  SpeedUpDown()->SetPosition(static_cast<int>(wpm));
}

}  // namespace vantrel::ui
