#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/app_options.h"
#include "platform/hid.h"
#include "platform/linux/realtime_threads.h"
#include "platform/linux/timer_thread.h"
#include "platform/qt/realtime_kit.h"
#include "platform/sound.h"
#include "sim/event_log.h"
#include "sim/script.h"
#include "sim/script_runner.h"

namespace vantrel::app {

// The devices the program runs on: the machine's HID devices, or one simulated interface with
// its event log and script. The members go in reverse order, so the script stops before the
// interface, and the interface before the log it writes to. A simulated interface runs on its
// own timer thread, as the real one runs on its own hardware, so that its work never delays
// the engine's timing; only the engine's timer thread and its reader ask for real-time
// scheduling.
struct Machine {
  // First, so that it outlives every thread it made real-time.
  platform::RealtimeThreads realtime{platform::AskRealtimeKit};
  platform::ThreadTimerService timers{"vantrel-timer", &realtime};
  std::unique_ptr<platform::ThreadTimerService> simulatedTimers;
  std::unique_ptr<platform::ToneOutput> tone;
  // The simulated interface's own sidetone, apart from the PC sidetone the engine plays.
  std::unique_ptr<platform::ToneOutput> simulatedTone;
  std::unique_ptr<sim::EventLog> simulateLog;
  std::unique_ptr<platform::HidBus> bus;
  std::unique_ptr<sim::ScriptRunner> script;
};

// nullptr with `error` set when the event log cannot be opened.
std::unique_ptr<Machine> MakeMachine(const AppOptions& options,
                                     const std::vector<sim::ScriptAction>& script,
                                     std::string& error);

}  // namespace vantrel::app
