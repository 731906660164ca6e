#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "platform/timer.h"
#include "sim/sim_interface.h"
#include "sim_window.h"

namespace vantrel::bench {

// When each CmdSendCodes reached the interface, on its clock.
std::vector<platform::Micros> SendCodesTimes(const sim::SimInterface& sim);

// One run's times on the interface's clock: each character handed to the window, and each
// CmdSendCodes reaching the interface.
struct WireTimes {
  std::vector<platform::Micros> handedAt{};
  std::vector<platform::Micros> sentAt{};
  platform::Micros interfaceStart = 0;

  // From each hand-over to its command, in µs.
  std::vector<double> Latencies() const;
};

// The window at 50 WPM on a simulated firmware 23 interface with status reports every
// `statusIntervalUs`, on the real timer thread and the interface on a thread of its own, as
// in the program. `handOver` gives the window character `index`, each a short, random while
// after the interface has finished keying the one before, as an operator a little slower
// than 50 WPM would: the times are the path to the wire, not time queued behind earlier text.
WireTimes MeasureToWire(platform::Micros statusIntervalUs, std::size_t characters,
                        std::optional<unsigned> netKeyerPort,
                        const std::function<void(SimWindow& rig, std::size_t index)>& handOver);

}  // namespace vantrel::bench
