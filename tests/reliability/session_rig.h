#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "fault_bus.h"
#include "platform/linux/single_instance.h"
#include "sim/sim_bus.h"
#include "sim/wire_names.h"
#include "support/manual_timer.h"
#include "support/settle.h"
#include "support/temp_dir.h"
#include "support/test_doubles.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"

namespace vantrel::reliability {

using ui::CMainDlg;

// Entries in a /proc/self folder: open descriptors ("fd") or threads ("task").
inline std::size_t ProcCount(const char* folder) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::path("/proc/self") / folder)) {
    ++count;
  }
  return count;
}

// Polls `done` in real time; for waits on threads, never for measuring.
template <typename Done>
bool WaitReal(Done done, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// The keyer setting commands the interface received, the last of each code.
inline std::map<std::uint8_t, sim::Report> LastSettings(
    const std::vector<sim::ReceivedCommand>& commands) {
  static constexpr std::uint8_t kSettingCodes[] = {sim::CmdKeyerParams,   sim::CmdPttDelays,
                                                   sim::CmdSpeed,         sim::CmdPttControl,
                                                   sim::CmdPaddleReverse, sim::CmdModeFlags};
  std::map<std::uint8_t, sim::Report> last;
  for (const auto& command : commands) {
    for (std::uint8_t code : kSettingCodes) {
      if (command.bytes[1] == code) last[code] = command.bytes;
    }
  }
  return last;
}

// The operating window on one simulated interface behind a cable that can fail, both on the
// manual clock, run from a fresh temporary working directory.
class SessionRig {
 public:
  explicit SessionRig(unsigned version, platform::Micros statusIntervalUs = 5000)
      : sim(simBus.Attach(timers,
                          {.firmwareVersion = version, .statusIntervalUs = statusIntervalUs})),
        bus(simBus, sim) {
    previousDir_ = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
  }
  ~SessionRig() {
    window.reset();
    std::filesystem::current_path(previousDir_);
  }

  // Opens the window on `settingsFile`; `startSettings` keeps what the start-up sent.
  void Open(const std::string& settingsFile) {
    dir.Write("Vantrel.cfg", settingsFile);
    auto note = [](QWidget*, const loglink::LogMessageBox&) {};
    window =
        std::make_unique<CMainDlg>(ui::MainDlgServices{bus, timers, tone, dir.path(), {}, note, {}},
                                   platform::SingleInstance::Acquire(dir.path(), "MyApp"));
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    RunMs(20);
    startSettings = LastSettings(sim.Commands());
    sim.ClearHistory();
  }

  // Moves the clock on by `ms`, one millisecond at a time; the window handles what the
  // interface reported in each millisecond before the next begins.
  bool RunMs(int ms) {
    for (int i = 0; i < ms; ++i) {
      if (!sim::AdvanceAndSettle(timers, simBus, timers.Now() + 1000)) return false;
      QCoreApplication::sendPostedEvents();
    }
    return true;
  }
  template <typename Done>
  bool RunUntil(Done done, int limitMs) {
    for (int i = 0; i < limitMs && !done(); ++i) {
      if (!RunMs(1)) return false;
    }
    return done();
  }

  keyer::CCwDevice& Engine() { return window->Engine(); }
  QWidget* Control(int id) const { return window->Control(id); }
  QLineEdit* Edit(int id) const { return static_cast<QLineEdit*>(Control(id)); }
  QPlainTextEdit* Log() const { return static_cast<QPlainTextEdit*>(Control(ui::kIdLog)); }
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
    QTest::mouseClick(Edit(ui::kIdInput), Qt::LeftButton);
  }
  void Type(const std::string& text, Qt::KeyboardModifiers modifiers = {}) {
    for (char c : text) QTest::keyClick(QApplication::focusWidget(), c, modifiers);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }

  bool Released() const { return !sim.IsOn(sim::Line::Key) && !sim.IsOn(sim::Line::Ptt); }
  // Whether the keying has ended at the window, the engine and the interface.
  bool Quiet() {
    return window->Logic().State().PendingText.empty() && Engine().ElementString().empty() &&
           Engine().GetKeyingState() == keyer::KeyingState::Idle &&
           (sim.FirmwareVersion() < 20 || sim.BufferState() == 15) &&
           !window->Logic().State().CqTimer && window->Logic().State().CqRepeatCount == 0;
  }

  settings::TempDir dir;
  platform::ManualTimerService timers;
  sim::SimBus simBus;
  platform::NullToneOutput tone;
  sim::SimInterface& sim;
  FaultBus bus;
  std::map<std::uint8_t, sim::Report> startSettings;
  std::unique_ptr<CMainDlg> window;

 private:
  std::filesystem::path previousDir_;
};

}  // namespace vantrel::reliability
