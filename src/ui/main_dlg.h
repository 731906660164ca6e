#pragma once

#include <QDialog>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>

#include "app/cw_device_port.h"
#include "keyer/cw_device.h"
#include "loglink/log_link_settings.h"
#include "loglink/log_route.h"
#include "operating/operating_logic.h"
#include "platform/hid.h"
#include "platform/linux/single_instance.h"
#include "platform/qt/focus_key_injector.h"
#include "platform/realtime.h"
#include "platform/sound.h"
#include "platform/timer.h"
#include "settings/profile_file.h"
#include "ui/cq_repeat_timer.h"
#include "ui/log_message_box_dialog.h"
#include "ui/net_keyer_link.h"
#include "ui/setup_dlg.h"

class QAbstractButton;
class QInputMethodEvent;
class QKeyEvent;
class QLineEdit;
class QMenu;
class QPlainTextEdit;

namespace vantrel::ui {

class UpDownControl;

// What the operating window runs on. Everything must outlive the window.
struct MainDlgServices {
  platform::HidBus& bus;
  platform::TimerService& timers;
  platform::ToneOutput& tone;
  // Holds "Vantrel.cfg", "Vantrel.tbl" and the profile file "Vantrel.ini".
  std::filesystem::path workingDir;
  // Said in the title after the program's name, e.g. that the interface is simulated.
  QString titleNote{};
  ShowLogMessageFunction showLogMessage = ShowLogMessageBox;
  // The network keyer on for this run at this port (0: the profile file's port).
  std::optional<unsigned> netKeyerPort{};
  // What the engine's reader thread asks for real-time scheduling; none: an ordinary thread.
  platform::RealtimeRequest* realtime = nullptr;
};

using operating::Bank;

// Brings the operating logic its input on the window's thread: the window's keyboard before any
// of its controls sees it (key presses and releases, typed characters and input-method commits;
// installed on the application), and the engine's notifications, which may be posted from any
// thread while the window lives.
class OperatingInput final : public QObject, public platform::TargetWindow {
 public:
  OperatingInput(QWidget* window, operating::OperatingLogic& logic, NetKeyerLink& netKeyer)
      : window_(window), logic_(logic), netKeyer_(netKeyer) {}

  void Post(unsigned message, std::intptr_t wParam, std::intptr_t lParam) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Deliver(unsigned message, std::intptr_t wParam, std::intptr_t lParam);
  bool IsFirstDeliveryInWindow(QObject* watched) const;
  bool OnKeyPress(QWidget* target, QKeyEvent* event);
  void OnKeyRelease(QKeyEvent* event);
  bool OnInputMethod(QWidget* target, QInputMethodEvent* event);
  // The characters of `text` that the logic passes on, one character at a time.
  QString TypeCharacters(const QString& text, operating::Modifiers modifiers);
  void Redeliver(QWidget* target, QEvent* replacement);

  QWidget* window_;
  operating::OperatingLogic& logic_;
  NetKeyerLink& netKeyer_;
  bool redelivering_ = false;
};

// The operating window. It owns the keyer engine and the settings (the setup dialog) for its
// whole life; the engine's notifications arrive on the window's thread as KeyerMessage. The
// operator's work is the operating logic's; the window is its view.
class CMainDlg : public QDialog, public operating::WindowFields, public operating::OperatingView {
  Q_OBJECT

 public:
  // `instance` is the single-instance object the start-up acquired; the exit releases it.
  CMainDlg(MainDlgServices services, std::unique_ptr<platform::SingleInstance> instance,
           QWidget* parent = nullptr);
  ~CMainDlg() override;

  QWidget* Control(int id) const;
  keyer::CCwDevice& Engine() { return *engine_; }
  CSetupDlg& Setup() { return setup_; }
  QMenu* WindowMenu() const { return windowMenu_; }
  bool InstanceHeld() const { return InstanceMutex != nullptr; }

  operating::OperatingLogic& Logic() { return logic_; }
  NetKeyerLink& NetKeyer() { return netKeyer_; }

  void RunSetup();
  void ShowBank(Bank bank);
  void StopTransmission();
  void ShowAbout();
  void ExitWindow();

  // The operating logic's view of the window.
  operating::WindowFields& Fields() override;
  bool ReadControls() override;
  void RefreshControls() override;
  std::string InputLineText() const override;
  void SetInputLineText(const std::string& text) override;
  void EmptyControl(operating::Control control) override;
  operating::Control FocusedControl() const override;
  void SetFocus(operating::Control control) override;
  void ShowLogEnd() override;
  void InsertAtLogEnd(const std::string& text) override;
  std::string LogText() const override;
  std::string ButtonCaption(int key) const override;
  void SetButtonCaption(int key, const std::string& text) override;
  void SetButtonToolTip(int key, const std::string& text) override;
  bool SetSpinPosition(unsigned wpm) override;
  void StartCqTimer(unsigned milliseconds) override;
  void KillCqTimer() override;
  void LoadSettingsFile() override;
  void EnableDecodeCheck() override;
  void SendToLog() override;
  void FetchFromLog() override;

  void setVisible(bool visible) override;
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void OnInitDialog();
  void BuildWindowMenu();
  void ConnectControls();
  void ConnectLogLink();
  void LoadLogLinkSettings();
  void SaveLogLinkSettings();
  void OpenLogRoute();
  void ShowLogOutcome(const loglink::LogOutcome& outcome);
  void TakeLogReply(const loglink::LogReply& reply);
  void RegisterToolTips();
  void RestoreWindowPlacement();
  void SaveWindowPlacement();
  bool PlaceReported() const;
  void SetTopmost(bool on);
  void UpdateTitle();
  void OnPttToggled();
  void SetPttToggle(bool on);
  void LoadNetKeyerSettings();
  void SaveNetKeyerSettings();
  void ListenForNetKeyer();
  void OnDecodeToggled();

  QLineEdit* Edit(int id) const;
  QAbstractButton* Button(int id) const;
  QPlainTextEdit* Log() const;
  UpDownControl* SpeedUpDown() const;
  QWidget* OperatingControl(operating::Control control) const;
  QAbstractButton* KeyButton(int key) const;

  static constexpr std::size_t kHisCallLimit = 256;

  MainDlgServices services_;
  settings::ProfileFile profile_;
  std::unique_ptr<platform::SingleInstance> InstanceMutex;
  CSetupDlg setup_;
  std::map<int, QWidget*> controls_;
  QMenu* windowMenu_ = nullptr;
  bool initialised_ = false;
  bool exposed_ = false;
  platform::FocusKeyInjector keys_;
  std::unique_ptr<keyer::CCwDevice> engine_;
  app::CwDevicePort port_{*engine_};
  operating::OperatingLogic logic_{*this, port_, setup_};
  CqRepeatTimer cqTimer_;
  // The route to the logging program and the settings it was made with; replies to F12
  // arrive on its own thread and are moved to the window's.
  std::unique_ptr<loglink::LogRoute> logRoute_;
  loglink::LogLinkSettings logRouteSettings_;
  // The link's settings as the profile file held them at start.
  loglink::LogLinkSettings savedLogLink_;
  NetKeyerLink netKeyer_{
      logic_, port_, setup_, [this](bool on) { SetPttToggle(on); }, [this] { UpdateTitle(); },
      nullptr};
  // The network keyer's settings as the profile file held them at start.
  NetKeyerPlace savedNetKeyer_;
  OperatingInput input_{this, logic_, netKeyer_};
  operating::StatusCoalescer statusCoalescer_{input_};
};

}  // namespace vantrel::ui
