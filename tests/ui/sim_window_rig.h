#pragma once

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "keyer/cw_device.h"
#include "loglink/log_message_box.h"
#include "platform/hid.h"
#include "platform/linux/single_instance.h"
#include "settings/dialog_driver.h"
#include "sim/event_log.h"
#include "sim/input_reports.h"
#include "sim/sim_bus.h"
#include "sim/wire_names.h"
#include "support/manual_timer.h"
#include "support/settle.h"
#include "support/temp_dir.h"
#include "support/test_doubles.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"

namespace vantrel::ui::rig {

// The simulated bus seen through a cable that can be pulled while a write is under way, and an
// interface that can stop answering (reads then wait out their timeout and writes vanish) or
// flood the host.
class FaultBus final : public platform::HidBus {
 public:
  FaultBus(platform::HidBus& inner, sim::SimInterface& sim) : inner_(inner), sim_(sim) {}

  // The `n`th write from now (1: the next) finds the interface unplugged as it goes out.
  std::atomic<int> unplugAtWrite = 0;
  std::atomic<bool> silent = false;
  // While set, every read is answered at once with a status report, as fast as the reader asks.
  std::atomic<bool> flooding = false;
  std::atomic<long> floodReads = 0;

  std::vector<platform::HidDeviceInfo> Enumerate() override { return inner_.Enumerate(); }
  std::unique_ptr<platform::HidDevice> Open(const std::string& path) override {
    auto device = inner_.Open(path);
    return device ? std::make_unique<Handle>(*this, std::move(device)) : nullptr;
  }

 private:
  class Handle final : public platform::HidDevice {
   public:
    Handle(FaultBus& bus, std::unique_ptr<platform::HidDevice> inner)
        : bus_(bus), inner_(std::move(inner)) {}
    std::size_t InputReportLength() const override { return inner_->InputReportLength(); }
    std::size_t OutputReportLength() const override { return inner_->OutputReportLength(); }
    std::u16string ProductString() override { return inner_->ProductString(); }
    std::u16string ManufacturerString() override { return inner_->ManufacturerString(); }

    bool Write(const std::uint8_t* data, std::size_t length) override {
      if (bus_.unplugAtWrite > 0 && --bus_.unplugAtWrite == 0) bus_.sim_.Unplug();
      if (bus_.silent) return true;
      return inner_->Write(data, length);
    }
    int Read(std::uint8_t* buf, std::size_t capacity, int timeoutMs) override {
      if (bus_.flooding) {
        // Idle status reports whose buffer state alternates between 14 and 15, so that no
        // report repeats the one before and the window cannot let any of them pass unseen.
        const std::uint8_t buffer = bus_.floodReads++ % 2 == 0 ? 14 : 15;
        const sim::Report report = sim::PanelReport(23, {}, buffer, sim::KindStatus);
        std::copy_n(report.begin(), std::min(capacity, report.size()), buf);
        return static_cast<int>(report.size());
      }
      if (bus_.silent) {
        std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
        return 0;
      }
      return inner_->Read(buf, capacity, timeoutMs);
    }

   private:
    FaultBus& bus_;
    std::unique_ptr<platform::HidDevice> inner_;
  };

  platform::HidBus& inner_;
  sim::SimInterface& sim_;
};

// Counts the calls a window takes from its queue, as its event filter: the engine's
// notifications, which are all a window on the manual clock is posted while nobody types.
class StatusCounter final : public QObject {
 public:
  long handled = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MetaCall) ++handled;
    return false;
  }
};

// The operating window on one simulated interface (version 0: none plugged in) behind a cable
// that can fail, both on the manual clock, run from a fresh temporary working directory.
// Message boxes of the logging-program link are only noted, unless `realMessageBoxes`.
class SimWindowRig {
 public:
  explicit SimWindowRig(unsigned version)
      : sim(simBus.Attach(timers, {.firmwareVersion = version == 0 ? 23 : version})),
        bus(simBus, sim) {
    if (version == 0) sim.Unplug();
    std::filesystem::current_path(dir.path());
  }
  ~SimWindowRig() {
    window.reset();
    std::filesystem::current_path(previousDir_);
  }

  // An empty `settingsFile` leaves the folder without one.
  void Open(const std::string& settingsFile = "") {
    if (!settingsFile.empty()) dir.Write("Vantrel.cfg", settingsFile);
    MainDlgServices services{bus, timers, tone, dir.path(), {}, ShowLogMessageBox, {}};
    if (!realMessageBoxes) {
      services.showLogMessage = [this](QWidget*, const loglink::LogMessageBox& box) {
        messages.push_back(box);
      };
    }
    window = std::make_unique<CMainDlg>(services,
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
  QString LogShown() const { return static_cast<QPlainTextEdit*>(Control(kIdLog))->toPlainText(); }
  const std::string& Pending() const { return window->Logic().State().PendingText; }

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
  void TypeOver(int id, const std::string& text) {
    ui::TypeOver(Edit(id), QString::fromStdString(text));
  }

  // The commands the interface received since the last call (or the start-up), "00 24 1E 00 ...".
  std::vector<std::string> TakeWrites() {
    std::vector<std::string> writes;
    for (const auto& command : sim.Commands())
      writes.push_back(sim::FormatReportBytes(command.bytes));
    sim.ClearHistory();
    return writes;
  }
  std::vector<sim::ReceivedCommand> Commands(std::uint8_t code) const {
    std::vector<sim::ReceivedCommand> found = sim.Commands();
    std::erase_if(found, [code](const auto& command) { return command.bytes[1] != code; });
    return found;
  }

  keyer::CCwDevice& Engine() { return window->Engine(); }
  bool Released() const { return !sim.IsOn(sim::Line::Key) && !sim.IsOn(sim::Line::Ptt); }
  // Whether nothing is queued at the window, in the engine or in the interface's buffer.
  bool NothingQueued() {
    return Pending().empty() && Engine().ElementString().empty() &&
           Engine().GetKeyingState() == keyer::KeyingState::Idle &&
           (sim.FirmwareVersion() < 20 || !sim.IsPlugged() || sim.BufferState() == 15);
  }
  // Whether the keying and the CQ repeat have ended.
  bool Quiet() {
    const operating::CqRepeat& repeat = window->Logic().CqRepeatState();
    return NothingQueued() && !repeat.TimerRunning() && !repeat.Active();
  }

  settings::TempDir dir;
  platform::ManualTimerService timers;
  sim::SimBus simBus;
  platform::NullToneOutput tone;
  sim::SimInterface& sim;
  FaultBus bus;
  bool realMessageBoxes = false;
  std::vector<loglink::LogMessageBox> messages;
  std::vector<sim::ReceivedCommand> startCommands;
  std::unique_ptr<CMainDlg> window;

 private:
  std::filesystem::path previousDir_ = std::filesystem::current_path();
};

// The program's own threads, which it names "vantrel-..."; threads Qt starts and keeps for
// itself, sooner or later under load, are not counted.
inline std::size_t VantrelThreadCount() {
  std::size_t count = 0;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream comm(task.path() / "comm");
    std::string name;
    if (std::getline(comm, name) && name.starts_with("vantrel")) ++count;
  }
  return count;
}

}  // namespace vantrel::ui::rig
