#include "ui/main_dlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>

#include "platform/qt/keyer_message_event.h"
#include "settings/cp932_validator.h"
#include "ui/app_icon.h"
#include "ui/main_dlg_ids.h"
#include "ui/main_dlg_layout.h"
#include "ui/main_dlg_texts.h"
#include "ui/up_down_control.h"

namespace vantrel::ui {
namespace {

constexpr char kProfileFileName[] = "Vantrel.ini";
constexpr char kTableFileName[] = "Vantrel.tbl";
constexpr std::size_t kHisCallLimit = 256;

}  // namespace

CMainDlg::CMainDlg(MainDlgServices services, std::unique_ptr<platform::SingleInstance> instance,
                   QWidget* parent)
    : QDialog(parent),
      services_(std::move(services)),
      profile_(services_.workingDir / kProfileFileName),
      InstanceMutex(std::move(instance)),
      keys_([this] { UpdateTitle(); }),
      engine_(std::make_unique<keyer::CCwDevice>(
          keyer::CwDeviceServices{services_.bus, services_.timers, services_.tone, keys_,
                                  (services_.workingDir / kTableFileName).string()})),
      cqTimer_(services_.timers, [this] { logic_.OnCqTimer(); }),
      logLink_([this](const loglink::LogReply& reply) { TakeLogReply(reply); }) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  WPM = engine_->GetSpeed();
  controls_ = BuildMainDialog(this);
  Control(kIdDecode)->setEnabled(false);
  Edit(kIdHisCall)->setValidator(new settings::Cp932Validator(kHisCallLimit, Edit(kIdHisCall)));
  UpdateTitle();
  BuildWindowMenu();
  ConnectControls();
  ConnectOperating();
  ConnectLogLink();
  ConnectNetKeyer();
  logic_.SetStatusGate(&statusCoalescer_);
  qApp->installEventFilter(&keyFilter_);
}

// The engine goes first: its reader thread may still post to this window and inject keys.
CMainDlg::~CMainDlg() {
  engine_.reset();
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

void CMainDlg::ConnectControls() {
  connect(Button(kIdExit), &QAbstractButton::clicked, this, &CMainDlg::ExitWindow);
  connect(Button(kIdPtt), &QAbstractButton::clicked, this, &CMainDlg::OnPttToggled);
  connect(Button(kIdDecode), &QAbstractButton::clicked, this, &CMainDlg::OnDecodeToggled);
  connect(Button(kIdSetup), &QAbstractButton::clicked, this, &CMainDlg::RunSetup);
  connect(Edit(kIdSpeed), &QLineEdit::textChanged, this, &CMainDlg::OnSpeedChanged);
}

void CMainDlg::setVisible(bool visible) {
  if (visible && !initialised_) {
    initialised_ = true;
    OnInitDialog();
  }
  QDialog::setVisible(visible);
}

void CMainDlg::OnInitDialog() {
  RefreshControls();
  setWindowIcon(AppIcon());
  ApplySettings();
  RegisterToolTips();
  ShowBank(Bank::A);
  RestoreWindowPlacement();
  if (profile_.GetInt("Window", "Top", 0) == 1) {
    SetTopmost(true);
    setup_.AlwaysOnTop = true;
  }
  StopTransmission();
  Edit(kIdInput)->setFocus(Qt::OtherFocusReason);
  LoadNetKeyerSettings();
  ListenForNetKeyer();
}

void CMainDlg::UpdateTitle() {
  QString title = kMainTitle;
  if (engine_ && engine_->KanaMode()) title += QStringLiteral(" [%1]").arg(kKanaModeMark);
  if (netKeyer_.ClientKeying()) title += QStringLiteral(" [%1]").arg(kNetKeyingMark);
  if (!services_.titleNote.isEmpty()) title += QStringLiteral(" - ") + services_.titleNote;
  setWindowTitle(title);
}

bool CMainDlg::event(QEvent* event) {
  if (event->type() != platform::KeyerMessageEvent::Kind()) return QDialog::event(event);
  auto* message = static_cast<platform::KeyerMessageEvent*>(event);
  emit KeyerMessage(message->message(), message->wParam(), message->lParam());
  return true;
}

// The close box ends up here; Escape never does (see keyPressEvent).
void CMainDlg::reject() {
  ExitWindow();
}

void CMainDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void CMainDlg::BuildWindowMenu() {
  windowMenu_ = new QMenu(this);
  windowMenu_->addAction(kAboutEntryText, this, &CMainDlg::ShowAbout);
  auto popUp = [this] { windowMenu_->popup(mapToGlobal(QPoint(0, 0))); };
  for (QKeySequence keys : {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
    connect(new QShortcut(keys, this), &QShortcut::activated, this, popUp);
  }
}

void CMainDlg::contextMenuEvent(QContextMenuEvent* event) {
  windowMenu_->popup(event->globalPos());
}

}  // namespace vantrel::ui
