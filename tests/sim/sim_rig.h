#pragma once

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "keyer/split.h"
#include "platform/hid.h"
#include "sim/sim_bus.h"
#include "sim/sim_interface.h"
#include "sim/wire_names.h"
#include "support/manual_timer.h"

namespace vantrel::sim {

// One simulated interface on a manual clock, with one handle open to it.
struct SimRig {
  explicit SimRig(SimConfig config = {})
      : device(bus.Attach(timers, config)), handle(bus.Open(device.Path())) {}

  // Writes "at-µs: bytes after the report id; ..." each at its time on the clock.
  void Play(const std::string& commands) {
    for (const auto& command : vantrel::testing::Split(commands)) {
      const auto colon = command.find(':');
      timers.AdvanceTo(std::stoll(command.substr(0, colon)));
      Report report{};
      std::istringstream in(command.substr(colon + 1));
      for (unsigned i = 1, value = 0; in >> std::hex >> value; ++i) report[i] = value;
      handle->Write(report.data(), report.size());
    }
  }

  platform::ManualTimerService timers;
  SimBus bus;
  SimInterface& device;
  std::unique_ptr<platform::HidDevice> handle;
};

// "K25000 k205000 P0": each line change with its time, K/P on and k/p off.
inline std::string LineChanges(const std::vector<LineTransition>& transitions) {
  std::string text;
  for (const auto& t : transitions) {
    const char name = t.line == Line::Key ? (t.on ? 'K' : 'k') : (t.on ? 'P' : 'p');
    text += (text.empty() ? "" : " ") + (name + std::to_string(t.at));
  }
  return text;
}

}  // namespace vantrel::sim
