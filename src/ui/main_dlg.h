#pragma once

#include <QDialog>

#include <filesystem>
#include <map>
#include <memory>

#include "keyer/cw_device.h"
#include "platform/hid.h"
#include "platform/profile_file.h"
#include "platform/qt/event_target_window.h"
#include "platform/qt/focus_key_injector.h"
#include "platform/single_instance.h"
#include "platform/sound.h"
#include "platform/timer.h"
#include "settings/setup_dlg.h"
#include "ui/main_dlg_fields.h"

class QAbstractButton;
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
  QString titleNote;
};

enum class Bank { A, B };

// The operating window. It owns the keyer engine and the settings (the setup dialog) for its
// whole life; the engine's notifications arrive on the window's thread as KeyerMessage.
class CMainDlg : public QDialog, public MainDlgFields {
  Q_OBJECT

 public:
  // `instance` is the single-instance object the start-up acquired; the exit releases it.
  CMainDlg(MainDlgServices services, std::unique_ptr<platform::SingleInstance> instance,
           QWidget* parent = nullptr);
  ~CMainDlg() override;

  QWidget* Control(int id) const;
  keyer::CCwDevice& Engine() { return *engine_; }
  settings::CSetupDlg& Setup() { return setup_; }
  QMenu* WindowMenu() const { return windowMenu_; }
  bool InstanceHeld() const { return InstanceMutex != nullptr; }

  bool ReadControls();
  void RefreshControls();

  void ApplySettings();
  void RunSetup();
  void ShowBank(Bank bank);
  void StopTransmission();
  void ShowAbout();
  void ExitWindow();

  void setVisible(bool visible) override;
  void reject() override;

 signals:
  void KeyerMessage(unsigned message, qintptr wParam, qintptr lParam);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void OnInitDialog();
  void BuildWindowMenu();
  void ConnectControls();
  void RegisterToolTips();
  void ApplyKeyerSettings();
  void RestoreWindowPlacement();
  void SaveWindowPlacement();
  void SetTopmost(bool on);
  void UpdateTitle();
  void OnPttToggled();
  void OnDecodeToggled();
  void OnSpeedChanged();

  QLineEdit* Edit(int id) const;
  QAbstractButton* Button(int id) const;
  QPlainTextEdit* Log() const;
  UpDownControl* SpeedUpDown() const;

  MainDlgServices services_;
  platform::ProfileFile profile_;
  std::unique_ptr<platform::SingleInstance> InstanceMutex;
  settings::CSetupDlg setup_;
  std::map<int, QWidget*> controls_;
  QMenu* windowMenu_ = nullptr;
  bool initialised_ = false;
  platform::EventTargetWindow targetWindow_{this};
  platform::FocusKeyInjector keys_;
  std::unique_ptr<keyer::CCwDevice> engine_;
};

}  // namespace vantrel::ui
