#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/linux/hid_hidapi.h"
#include "platform/linux/single_instance.h"
#include "platform/linux/sound_portaudio.h"
#include "platform/linux/timer_thread.h"
#include "sim/event_log.h"
#include "support/temp_dir.h"
#include "support/test_doubles.h"
#include "ui/main_dlg.h"
#include "ui/main_dlg_ids.h"
#include "virtual_halvix.h"

namespace vantrel::vm {

// True once some HID device of the bus carries `vendor`/`product`, or none does when `present`
// is false; the kernel adds and removes devices on its own workers. Waits are QTest's 5 s.
inline bool WaitForNode(platform::HidBus& bus, bool present,
                        std::uint16_t vendor = keyer::kHalvixVendorId,
                        std::uint16_t product = keyer::kHalvixProductId) {
  return QTest::qWaitFor([&] {
    bool found = false;
    for (const auto& info : bus.Enumerate()) {
      found = found || (info.vendorId == vendor && info.productId == product);
    }
    return found == present;
  });
}

// The operating window on the real HID bus (hidapi over hidraw) and a virtual Halvix behind
// the kernel's uhid driver, all in real time, run from a fresh working directory.
class KernelRig {
 public:
  explicit KernelRig(tools::VirtualHalvixConfig config)
      : halvix(simTimers, config), previousDir_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir.path());
    EXPECT_TRUE(WaitForNode(bus, true)) << "the virtual Halvix never appeared on the bus";
    Device().SetEventLog(&log_);
  }
  ~KernelRig() {
    window.reset();
    Device().SetEventLog(nullptr);
    std::filesystem::current_path(previousDir_);
  }

  sim::SimInterface& Device() { return halvix.Device(); }
  keyer::CCwDevice& Engine() { return window->Engine(); }

  // `tone` null: a silent one.
  void Open(const std::string& settingsFile, platform::ToneOutput* tone = nullptr) {
    dir.Write("Vantrel.cfg", settingsFile);
    window = std::make_unique<ui::CMainDlg>(
        ui::MainDlgServices{bus, timers, tone ? *tone : silence, dir.path(), {}},
        platform::SingleInstance::Acquire(dir.path(), "MyApp"));
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::mouseClick(window->Control(ui::kIdInput), Qt::LeftButton);
  }
  void Type(const std::string& text) {
    for (const char c : text) QTest::keyClick(QApplication::focusWidget(), c);
  }

  // The bytes of every command the interface received, or of those with this code.
  std::vector<std::string> Commands(int code = -1) {
    std::vector<std::string> found;
    for (const auto& command : Device().Commands()) {
      if (code < 0 || command.bytes[1] == code)
        found.push_back(sim::FormatReportBytes(command.bytes));
    }
    return found;
  }
  // The interface's event log so far; read it only once the window is gone.
  std::string LogText() const { return logText_.str(); }

  settings::TempDir dir;
  platform::ThreadTimerService simTimers{"vantrel-sim"};
  platform::ThreadTimerService timers;
  tools::VirtualHalvix halvix;
  platform::HidapiBus bus;
  platform::NullToneOutput silence;
  std::unique_ptr<ui::CMainDlg> window;

 private:
  std::filesystem::path previousDir_;
  std::ostringstream logText_;
  sim::EventLog log_{logText_, halvix.Device().StartTime()};
};

inline tools::VirtualHalvixConfig Halvix(unsigned version, tools::ReportShape shape = {}) {
  tools::VirtualHalvixConfig config;
  config.sim.firmwareVersion = version;
  config.sim.keepHistory = true;
  config.shape = shape;
  return config;
}

}  // namespace vantrel::vm
