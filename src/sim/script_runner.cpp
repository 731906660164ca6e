#include "sim/script_runner.h"

namespace vantrel::sim {

ScriptRunner::ScriptRunner(platform::TimerService& timers, SimInterface& device,
                           const std::vector<ScriptAction>& actions)
    : timers_(timers, mutex_), device_(device) {
  std::lock_guard lock(mutex_);
  for (const auto& action : actions) {
    timers_.ArmAt(device.StartTime() + action.at,
                  [this, action](platform::Micros) { Run(action); });
  }
}

ScriptRunner::~ScriptRunner() {
  timers_.Shutdown();
}

void ScriptRunner::Run(const ScriptAction& action) {
  device_.NoteEvent(action.text);
  PerformAction(device_, action);
}

void PerformAction(SimInterface& device, const ScriptAction& action) {
  switch (action.verb) {
    case ScriptVerb::Paddle:
      return device.SetPaddle(action.paddle);
    case ScriptVerb::Decode:
      return device.ReportDecoded(action.bytes[0]);
    case ScriptVerb::Input:
      return device.SetInputLines(action.bytes[0]);
    case ScriptVerb::Switch:
      return device.SetSpeedSwitch(action.position);
    case ScriptVerb::Speed:
      return device.SendSpeedReport(action.bytes[0]);
    case ScriptVerb::ModeFlags:
      return device.SendModeFlagsReport(action.bytes[0], action.bytes[1], action.bytes[2]);
    case ScriptVerb::Unplug:
      return device.Unplug();
    case ScriptVerb::Plug:
      return device.Plug();
  }
}

}  // namespace vantrel::sim
