#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "keyer/cw_device.h"
#include "loglink/log_message_box.h"
#include "platform/linux/single_instance.h"
#include "platform/text_encoding.h"
#include "reliability/fault_bus.h"
#include "sim/sim_bus.h"
#include "sim/wire_names.h"
#include "support/manual_timer.h"
#include "support/settle.h"
#include "support/temp_dir.h"
#include "support/test_doubles.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"

namespace vantrel::ui::rig {

// The operating window on one simulated interface behind a cable that can fail, both on the
// manual clock, run from a fresh temporary working directory. Message boxes of the
// logging-program link are only noted.
class SimWindowRig {
 public:
  explicit SimWindowRig(unsigned version, platform::Micros statusIntervalUs = 5000)
      : sim(simBus.Attach(timers,
                          {.firmwareVersion = version, .statusIntervalUs = statusIntervalUs})),
        bus(simBus, sim) {
    previousDir_ = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
  }
  ~SimWindowRig() {
    window.reset();
    std::filesystem::current_path(previousDir_);
  }

  void Open(const std::string& settingsFile = "") {
    dir.Write("Vantrel.cfg", settingsFile);
    auto note = [this](QWidget*, const loglink::LogMessageBox& box) { messages.push_back(box); };
    window =
        std::make_unique<CMainDlg>(MainDlgServices{bus, timers, tone, dir.path(), {}, note, {}},
                                   platform::SingleInstance::Acquire(dir.path(), "MyApp"));
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window.get())) qWarning("the window never became active");
    RunMs(20);
    startCommands = sim.Commands();
    sim.ClearHistory();
  }

  // Moves the clock on by `ms`, one millisecond at a time; the window handles what the
  // interface reported in each millisecond before the next begins, as it would in real time.
  // False when the interface did not settle.
  bool RunMs(int ms) {
    for (int i = 0; i < ms; ++i) {
      if (!sim::AdvanceAndSettle(timers, simBus, timers.Now() + 1000)) {
        ADD_FAILURE() << "the simulated interface never settled";
        return false;
      }
      QCoreApplication::sendPostedEvents();
    }
    return true;
  }
  // Runs until `done` holds, for at most `limitMs`; false if it never did.
  template <typename Done>
  bool RunUntil(Done done, int limitMs) {
    for (int i = 0; i < limitMs && !done(); ++i) {
      if (!RunMs(1)) return false;
    }
    return done();
  }

  QWidget* Control(int id) const { return window->Control(id); }
  QLineEdit* Edit(int id) const { return static_cast<QLineEdit*>(Control(id)); }
  QAbstractButton* Button(int id) const { return static_cast<QAbstractButton*>(Control(id)); }
  QPlainTextEdit* Log() const { return static_cast<QPlainTextEdit*>(Control(kIdLog)); }
  QString LogShown() const { return Log()->toPlainText(); }
  QString InputShown() const { return Edit(kIdInput)->text(); }

  void Click(int id) {
    QWidget* control = Control(id);
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(4, control->height() / 2));
  }
  // As the window manager does when a dialog closes, the window is made active again first.
  void FocusInput() {
    if (!window->isActiveWindow()) {
      window->activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QTest::mouseClick(Edit(kIdInput), Qt::LeftButton);
  }
  // Types into the focused control, as quickly as keys can be pressed: the clock stands still.
  void Type(const std::string& text, Qt::KeyboardModifiers modifiers = {}) {
    for (char c : text) QTest::keyClick(QApplication::focusWidget(), c, modifiers);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }

  // The commands the interface received with this command code.
  std::vector<sim::ReceivedCommand> Commands(std::uint8_t code) const {
    std::vector<sim::ReceivedCommand> found;
    for (const auto& command : sim.Commands()) {
      if (command.bytes[1] == code) found.push_back(command);
    }
    return found;
  }

  keyer::CCwDevice& Engine() { return window->Engine(); }
  bool Released() const { return !sim.IsOn(sim::Line::Key) && !sim.IsOn(sim::Line::Ptt); }
  // Whether the keying has ended at the window, the engine and the interface.
  bool Quiet() {
    const operating::SendState& state = window->Logic().State();
    return state.PendingText.empty() && Engine().ElementString().empty() &&
           Engine().GetKeyingState() == keyer::KeyingState::Idle &&
           (sim.FirmwareVersion() < 20 || sim.BufferState() == 15) && !state.CqTimer &&
           state.CqRepeatCount == 0;
  }

  settings::TempDir dir;
  platform::ManualTimerService timers;
  sim::SimBus simBus;
  platform::NullToneOutput tone;
  sim::SimInterface& sim;
  reliability::FaultBus bus;
  std::vector<loglink::LogMessageBox> messages;
  // What the start-up sent.
  std::vector<sim::ReceivedCommand> startCommands;
  std::unique_ptr<CMainDlg> window;

 private:
  std::filesystem::path previousDir_;
};

inline QString Shown(const std::string& cp932) {
  return QString::fromStdString(platform::Cp932ToUtf8(cp932));
}

}  // namespace vantrel::ui::rig
