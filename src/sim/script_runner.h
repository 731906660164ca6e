#pragma once

#include <mutex>
#include <vector>

#include "platform/timer.h"
#include "sim/guarded_timers.h"
#include "sim/script.h"
#include "sim/sim_interface.h"

namespace vantrel::sim {

// Plays a script on an interface: each action at its time after the interface started, noted
// in the interface's event log as it happens. Both the timer service and the interface must
// outlive the runner.
class ScriptRunner {
 public:
  ScriptRunner(platform::TimerService& timers, SimInterface& device,
               const std::vector<ScriptAction>& actions);
  ~ScriptRunner();
  ScriptRunner(const ScriptRunner&) = delete;
  ScriptRunner& operator=(const ScriptRunner&) = delete;

 private:
  void Run(const ScriptAction& action);

  std::mutex mutex_;
  GuardedTimers timers_;
  SimInterface& device_;
};

// Carries out one action on the interface.
void PerformAction(SimInterface& device, const ScriptAction& action);

}  // namespace vantrel::sim
