#include "ui/main_dlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QWindow>

#include <string>

#include "loglink/log_message_box.h"
#include "ui/about_dlg.h"
#include "ui/cp932_validator.h"
#include "ui/main_dlg_ids.h"
#include "ui/main_dlg_template.h"
#include "ui/main_dlg_texts.h"
#include "ui/save_settings_report.h"
#include "ui/up_down_control.h"
#include "ui/window_rect.h"

namespace vantrel::ui {
namespace {

constexpr char kProfileFileName[] = "Vantrel.ini";
constexpr char kWindowSection[] = "Window";
constexpr char kNetKeyerSection[] = "NetKeyer";
constexpr std::string_view kNetKeyerCaption = "ネットワークキーヤー";

NetKeyerPlace PlaceOf(const settings::Settings& settings) {
  return {settings.NetKeyerEnabled, settings.NetKeyerAddress,
          static_cast<unsigned>(settings.NetKeyerPort)};
}

}  // namespace

CMainDlg::CMainDlg(MainDlgServices services, std::unique_ptr<platform::SingleInstance> instance,
                   QWidget* parent)
    : QDialog(parent),
      services_(std::move(services)),
      profile_(services_.workingDir / kProfileFileName),
      InstanceMutex(std::move(instance)),
      keys_([this] { UpdateTitle(); }),
      engine_(std::make_unique<keyer::CCwDevice>(keyer::CwDeviceServices{
          .bus = services_.bus,
          .timers = services_.timers,
          .tone = services_.tone,
          .keys = keys_,
          .tablePath = (services_.workingDir / keyer::kTableFileName).string(),
          .realtime = services_.realtime})),
      cqTimer_(services_.timers, [this] { logic_.OnCqTimer(); }) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  controls_ = BuildMainDialog(this);
  Control(kIdDecode)->setEnabled(false);
  Edit(kIdHisCall)->setValidator(new Cp932Validator(kHisCallLimit, Edit(kIdHisCall)));
  SpeedUpDown()->SetRange(settings::kWpmRange.min, settings::kWpmRange.max);
  UpdateTitle();
  BuildWindowMenu();
  ConnectControls();
  ConnectLogLink();
  logic_.SetStatusGate(&statusCoalescer_);
  qApp->installEventFilter(&input_);
}

// The engine goes first: its reader thread may still post to this window and inject keys.
CMainDlg::~CMainDlg() {
  engine_.reset();
}

void CMainDlg::ConnectControls() {
  connect(Button(kIdExit), &QAbstractButton::clicked, this, &CMainDlg::ExitWindow);
  connect(Button(kIdPtt), &QAbstractButton::clicked, this, &CMainDlg::OnPttToggled);
  connect(Button(kIdDecode), &QAbstractButton::clicked, this, &CMainDlg::OnDecodeToggled);
  connect(Button(kIdSetup), &QAbstractButton::clicked, this, &CMainDlg::RunSetup);
  connect(Edit(kIdSpeed), &QLineEdit::textChanged, this, [this] { logic_.OnSpeedBoxChanged(); });
  connect(Button(kIdSend), &QAbstractButton::clicked, this, [this] { logic_.OnSendButton(); });
  connect(Button(kIdStop), &QAbstractButton::clicked, this, &CMainDlg::StopTransmission);
  connect(Button(kIdClear), &QAbstractButton::clicked, this, [this] { logic_.OnClearButton(); });
  for (int key = 1; key <= settings::kMessageCount; ++key) {
    connect(Button(FunctionButtonId(key)), &QAbstractButton::clicked, this,
            [this, key] { logic_.OnFunctionButton(key); });
  }
}

void CMainDlg::setVisible(bool visible) {
  if (visible && !initialised_) {
    initialised_ = true;
    OnInitDialog();
  }
  if (visible) {
    create();
    windowHandle()->installEventFilter(this);
  }
  QDialog::setVisible(visible);
}

// The window system has shown the window, and with that told where it is.
bool CMainDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
    exposed_ = true;
  }
  return QDialog::eventFilter(watched, event);
}

void CMainDlg::OnInitDialog() {
  RefreshControls();
  setWindowIcon(AppIcon());
  port_.SetTargetWindow(&statusCoalescer_);
  logic_.ApplySettings();
  RegisterToolTips();
  ShowBank(Bank::A);
  RestoreWindowPlacement();
  if (profile_.GetInt(kWindowSection, "Top", 0) == 1) {
    SetTopmost(true);
    setup_.AlwaysOnTop = true;
  }
  StopTransmission();
  Edit(kIdInput)->setFocus(Qt::OtherFocusReason);
  LoadNetKeyerSettings();
  ListenForNetKeyer();
  LoadLogLinkSettings();
  OpenLogRoute();
}

void CMainDlg::RegisterToolTips() {
  for (int n = 1; n <= settings::kMessageCount; ++n) {
    SetButtonToolTip(n, setup_.FnMsgA[n - 1]);
  }
  Control(kIdHisCall)->setToolTip(kCallSignTip);
  Control(kIdReport)->setToolTip(kReportTip);
}

void CMainDlg::UpdateTitle() {
  QString title = kMainTitle;
  if (engine_ && port_.KanaMode()) title += QStringLiteral(" [%1]").arg(kKanaModeMark);
  if (netKeyer_.ClientKeying()) title += QStringLiteral(" [%1]").arg(kNetKeyingMark);
  if (!services_.titleNote.isEmpty()) title += QStringLiteral(" - ") + services_.titleNote;
  setWindowTitle(title);
}

void CMainDlg::StopTransmission() {
  logic_.StopTransmission();
}

void CMainDlg::ShowBank(Bank bank) {
  logic_.ShowBank(bank);
}

void CMainDlg::OnPttToggled() {
  if (ReadControls()) logic_.HoldPtt(PttCheck == 1);
}

void CMainDlg::SetPttToggle(bool on) {
  ReadControls();
  logic_.HoldPtt(on);
  RefreshControls();
}

void CMainDlg::OnDecodeToggled() {
  if (!ReadControls()) return;
  port_.SetDecodeEnabled(DecodeCheck == 1);
  Control(DecodeCheck == 1 ? kIdLog : kIdInput)->setFocus(Qt::OtherFocusReason);
}

void CMainDlg::RunSetup() {
  if (setup_.exec() != QDialog::Accepted) return;
  ShowBank(Bank::A);
  port_.SetKeyingSettings(setup_);
  SetTopmost(setup_.AlwaysOnTop);
  ListenForNetKeyer();
  OpenLogRoute();
}

void CMainDlg::ShowAbout() {
  CAboutDlg about;
  about.SetVersionText(QString::fromStdString(AboutVersionText(port_.FirmwareVersion())));
  about.exec();
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

void CMainDlg::ExitWindow() {
  logic_.OnExit();
  setup_.WPM = static_cast<int>(WPM);
  SaveSettingsReporting(setup_, this, services_.workingDir);
  InstanceMutex.reset();
  if (isMinimized() || isMaximized()) showNormal();
  SaveWindowPlacement();
  done(QDialog::Rejected);
}

// The rectangle's corner is the frame's; its size is the inside's, because the window
// manager's frame is not known before the window is mapped and must not grow the window at
// every start.
void CMainDlg::SaveWindowPlacement() {
  if (PlaceReported()) {
    QPoint corner = frameGeometry().topLeft();
    WindowRect rect{corner.x(), corner.y(), corner.x() + width(), corner.y() + height()};
    profile_.WriteString(kWindowSection, "Size", FormatWindowRect(rect));
  }
  profile_.WriteString(kWindowSection, "Top", setup_.AlwaysOnTop ? "1" : "0");
  SaveNetKeyerSettings();
  SaveLogLinkSettings();
}

// A window never shown was never placed, and a Wayland client is never told where its window
// is (Qt then reports the frame's corner at minus the decoration's size): the profile keeps
// the rectangle it had.
bool CMainDlg::PlaceReported() const {
  return exposed_ && !QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

void CMainDlg::RestoreWindowPlacement() {
  QPoint corner = frameGeometry().topLeft();
  WindowRect current{corner.x(), corner.y(), corner.x() + width(), corner.y() + height()};
  std::optional<WindowRect> saved =
      ParseWindowRect(profile_.GetString(kWindowSection, "Size", FormatWindowRect(current)));
  if (!saved) return;
  move(saved->left, saved->top);
  setFixedSize(std::max(0, saved->Width()), std::max(0, saved->Height()));
  update();
}

void CMainDlg::SetTopmost(bool on) {
  if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
  bool shown = isVisible();
  setWindowFlag(Qt::WindowStaysOnTopHint, on);
  if (shown) show();
}

void CMainDlg::LoadNetKeyerSettings() {
  setup_.NetKeyerEnabled = profile_.GetInt(kNetKeyerSection, "Enabled", 0) == 1;
  setup_.NetKeyerAddress = profile_.GetString(kNetKeyerSection, "Address", setup_.NetKeyerAddress);
  const int port = profile_.GetInt(kNetKeyerSection, "Port", setup_.NetKeyerPort);
  if (settings::kNetKeyerPortRange.Contains(port)) setup_.NetKeyerPort = port;
  savedNetKeyer_ = PlaceOf(setup_);
}

// The section is written only once the operator has changed it, so a profile file without
// it stays as it was.
void CMainDlg::SaveNetKeyerSettings() {
  if (PlaceOf(setup_) == savedNetKeyer_) return;
  profile_.WriteString(kNetKeyerSection, "Enabled", setup_.NetKeyerEnabled ? "1" : "0");
  profile_.WriteString(kNetKeyerSection, "Address", setup_.NetKeyerAddress);
  profile_.WriteString(kNetKeyerSection, "Port", std::to_string(setup_.NetKeyerPort));
}

// A port given on the command line turns the keyer on for this run only.
void CMainDlg::ListenForNetKeyer() {
  NetKeyerPlace place = PlaceOf(setup_);
  if (services_.netKeyerPort) {
    place.enabled = true;
    if (*services_.netKeyerPort != 0) place.port = *services_.netKeyerPort;
  }
  const std::optional<std::string> error = netKeyer_.Listen(place);
  if (!error) return;
  services_.showLogMessage(
      this, loglink::LogMessageBox{*error, kNetKeyerCaption, loglink::MessageIcon::kExclamation});
}

}  // namespace vantrel::ui
