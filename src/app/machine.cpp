#include "app/machine.h"

#include "platform/linux/hid_hidapi.h"
#include "platform/linux/sound_portaudio.h"
#include "sim/sim_bus.h"

namespace vantrel::app {
namespace {

bool AttachSimulated(Machine& machine, const AppOptions& options,
                     const std::vector<sim::ScriptAction>& script, std::string& error) {
  machine.simulatedTimers = std::make_unique<platform::ThreadTimerService>("vantrel-sim");
  auto bus = std::make_unique<sim::SimBus>();
  sim::SimConfig config;
  config.firmwareVersion = options.simulateVersion;
  config.keepHistory = false;
  sim::SimInterface& device = bus->Attach(*machine.simulatedTimers, config);
  machine.simulatedTone = platform::MakeSystemToneOutput();
  device.SetSidetone(machine.simulatedTone.get());
  if (!options.simulateLog.empty()) {
    machine.simulateLog =
        sim::EventLog::AppendingTo(options.simulateLog, device.StartTime(), error);
    if (!machine.simulateLog) return false;
    device.SetEventLog(machine.simulateLog.get());
  }
  machine.bus = std::move(bus);
  if (!script.empty()) {
    machine.script = std::make_unique<sim::ScriptRunner>(*machine.simulatedTimers, device, script);
  }
  return true;
}

}  // namespace

std::unique_ptr<Machine> MakeMachine(const AppOptions& options,
                                     const std::vector<sim::ScriptAction>& script,
                                     std::string& error) {
  auto machine = std::make_unique<Machine>();
  machine->tone = platform::MakeSystemToneOutput();
  if (!options.simulate) {
    machine->bus = std::make_unique<platform::HidapiBus>();
    return machine;
  }
  if (!AttachSimulated(*machine, options, script, error)) return nullptr;
  return machine;
}

}  // namespace vantrel::app
