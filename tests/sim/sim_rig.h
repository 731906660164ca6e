#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <vector>

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

  // Report id 0, then the command and its parameters; the rest 0.
  bool Send(std::initializer_list<std::uint8_t> bytes) {
    Report report{};
    std::size_t i = 1;
    for (const auto byte : bytes) report[i++] = byte;
    return handle->Write(report.data(), report.size());
  }

  // Every report waiting now, without waiting for more.
  std::vector<Report> ReadWaiting() {
    std::vector<Report> reports;
    Report report{};
    while (handle->Read(report.data(), report.size(), 0) > 0) reports.push_back(report);
    return reports;
  }

  platform::ManualTimerService timers;
  SimBus bus;
  SimInterface& device;
  std::unique_ptr<platform::HidDevice> handle;
};

using Transitions = std::vector<LineTransition>;

inline void PrintTo(const LineTransition& t, std::ostream* out) {
  *out << t.at << (t.line == Line::Key ? " KEY " : " PTT ") << t.on;
}

inline LineTransition Key(platform::Micros at, bool on) {
  return {at, Line::Key, on};
}
inline LineTransition Ptt(platform::Micros at, bool on) {
  return {at, Line::Ptt, on};
}

// "CQ" at 20 WPM, weights 1.0 and 3.0, PTT 25 ms before and 200 ms after: the simulator's
// reading of the commands and the engine's keying through it must both give these lines.
inline const Transitions kCqAtTwentyWpm{
    Ptt(0, true),          Key(25'000, true),    Key(205'000, false),   Key(265'000, true),
    Key(325'000, false),   Key(385'000, true),   Key(565'000, false),   Key(625'000, true),
    Key(685'000, false),   Key(865'000, true),   Key(1'045'000, false), Key(1'105'000, true),
    Key(1'285'000, false), Key(1'345'000, true), Key(1'405'000, false), Key(1'465'000, true),
    Key(1'645'000, false), Ptt(1'845'000, false)};

}  // namespace vantrel::sim
