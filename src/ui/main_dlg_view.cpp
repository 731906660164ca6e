#include <QAbstractButton>
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextDocument>

#include <limits>
#include <memory>
#include <vector>

#include "settings/settings_file.h"
#include "ui/dialog_exchange.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"
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

operating::Key OperatingKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Control:
      return operating::Key::Control;
    case Qt::Key_Escape:
      return operating::Key::Escape;
    case Qt::Key_A:
      return operating::Key::A;
    case Qt::Key_K:
      return operating::Key::K;
    case Qt::Key_W:
      return operating::Key::W;
    case Qt::Key_Q:
      return operating::Key::Q;
    case Qt::Key_S:
      return operating::Key::S;
    case Qt::Key_Z:
      return operating::Key::Z;
    default:
      break;
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) {
    return static_cast<operating::Key>(static_cast<int>(operating::Key::F1) + (qtKey - Qt::Key_F1));
  }
  return operating::Key::Other;
}

operating::Modifiers OperatingModifiers(Qt::KeyboardModifiers modifiers) {
  return {modifiers.testFlag(Qt::AltModifier), modifiers.testFlag(Qt::ControlModifier),
          modifiers.testFlag(Qt::ShiftModifier)};
}

// Return or the keypad's Enter.
bool IsEnter(const QKeyEvent& event) {
  return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

// Whether a key press carries a typed character. Enter presses the default button, Tab moves
// the focus, Escape is a command and Delete edits: none of them is a character.
bool CarriesCharacter(const QKeyEvent& event) {
  const QString text = event.text();
  if (text.isEmpty()) return false;
  const char16_t first = text.front().unicode();
  return first != u'\r' && first != u'\n' && first != u'\t' && first != 0x1B && first != 0x7F;
}

}  // namespace

void OperatingInput::Post(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
  QMetaObject::invokeMethod(
      window_, [this, message, wParam, lParam] { Deliver(message, wParam, lParam); },
      Qt::QueuedConnection);
}

void OperatingInput::Deliver(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
  logic_.OnKeyerMessage(message, wParam, lParam);
  netKeyer_.OnKeyerMessage(message);
}

bool OperatingInput::eventFilter(QObject* watched, QEvent* event) {
  if (redelivering_ || !IsFirstDeliveryInWindow(watched)) return false;
  auto* target = static_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::KeyPress:
      return OnKeyPress(target, static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
      OnKeyRelease(static_cast<QKeyEvent*>(event));
      return false;
    case QEvent::InputMethod:
      return OnInputMethod(target, static_cast<QInputMethodEvent*>(event));
    default:
      return false;
  }
}

// A key the focused control ignores is offered to its parents as well; the logic sees it once.
bool OperatingInput::IsFirstDeliveryInWindow(QObject* watched) const {
  if (!watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (widget->window() != window_) return false;
  QWidget* focus = QApplication::focusWidget();
  return !(focus && focus != widget && widget->isAncestorOf(focus));
}

bool OperatingInput::OnKeyPress(QWidget* target, QKeyEvent* event) {
  const operating::Modifiers modifiers = OperatingModifiers(event->modifiers());
  if (logic_.OnKeyDown(OperatingKey(event->key()), modifiers)) return true;
  std::unique_ptr<QKeyEvent> passedOn(event->clone());
  if (IsEnter(*event) && qobject_cast<QPlainTextEdit*>(target)) {
    // The log takes Enter as a character, so it is a typed character there.
    if (logic_.OnCharacter("\r", modifiers).consumed) return true;
  } else if (CarriesCharacter(*event)) {
    const QString passed = TypeCharacters(event->text(), modifiers);
    if (passed.isEmpty()) return true;
    if (passed != event->text()) {
      passedOn = std::make_unique<QKeyEvent>(event->type(), event->key(), event->modifiers(),
                                             passed, event->isAutoRepeat(), event->count());
    }
  }
  // The logic may have opened a modal box, after which the focus widget no longer tells a
  // first delivery from the parents being offered an ignored key. So the event goes on from
  // here, to the control and its parents, with this filter out of the way.
  Redeliver(target, passedOn.get());
  event->setAccepted(true);
  return true;
}

// X11 repeats a held key as release and press pairs; only the real release counts.
void OperatingInput::OnKeyRelease(QKeyEvent* event) {
  if (!event->isAutoRepeat()) logic_.OnKeyUp(OperatingKey(event->key()));
}

bool OperatingInput::OnInputMethod(QWidget* target, QInputMethodEvent* event) {
  const QString commit = event->commitString();
  if (commit.isEmpty()) return false;
  const QString passed =
      TypeCharacters(commit, OperatingModifiers(QGuiApplication::keyboardModifiers()));
  if (passed == commit) return false;
  QInputMethodEvent replacement(event->preeditString(), event->attributes());
  replacement.setCommitString(passed, event->replacementStart(), event->replacementLength());
  Redeliver(target, &replacement);
  return true;
}

QString OperatingInput::TypeCharacters(const QString& text, operating::Modifiers modifiers) {
  QString passed;
  for (char32_t codePoint : text.toUcs4()) {
    const QString character = QString::fromUcs4(&codePoint, 1);
    operating::TypedCharacter typed = logic_.OnCharacter(ToCp932(character), modifiers);
    if (!typed.consumed) passed += FromCp932(typed.character);
  }
  return passed;
}

void OperatingInput::Redeliver(QWidget* target, QEvent* replacement) {
  redelivering_ = true;
  QCoreApplication::sendEvent(target, replacement);
  redelivering_ = false;
}

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

operating::WindowFields& CMainDlg::Fields() {
  return *this;
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
