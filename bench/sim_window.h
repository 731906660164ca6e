#pragma once

#include <QLineEdit>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/realtime.h"
#include "platform/sound.h"
#include "platform/timer.h"
#include "sim/sim_bus.h"
#include "support/temp_dir.h"
#include "support/test_doubles.h"
#include "ui/main_dlg.h"

namespace vantrel::bench {

// Makes the Qt platform the offscreen one unless the caller chose another; call before the
// QApplication is made.
void UseOffscreenUnlessSet();

// The operating window shown and active on `bus`, run from a fresh temporary working directory
// holding `settingsFile` as Vantrel.cfg and, unless empty, `profileFile` as Vantrel.ini. The
// directory goes when the window does.
class SimWindow {
 public:
  // With `netKeyerPort` the network keyer listens on that port for this run; with `realtime`
  // the engine's reader thread asks it for real-time scheduling.
  SimWindow(sim::SimBus& bus, platform::TimerService& timers, const std::string& settingsFile,
            std::optional<unsigned> netKeyerPort = {}, const std::string& profileFile = {},
            platform::RealtimeRequest* realtime = nullptr);
  ~SimWindow();
  SimWindow(const SimWindow&) = delete;
  SimWindow& operator=(const SimWindow&) = delete;

  ui::CMainDlg& Window() { return *window_; }
  QLineEdit* InputLine() const;

 private:
  std::filesystem::path previousDir_;
  settings::TempDir dir_;
  platform::NullToneOutput tone_;
  std::unique_ptr<ui::CMainDlg> window_;
};

// Runs the event loop until `done` holds; false when `limit` passed first.
bool RunEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

}  // namespace vantrel::bench
